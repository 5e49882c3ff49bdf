#include "ExportedAttributes.h"

ScanAttributeMap ExportedAttributes(ScanAttributeWrapper& table) {
    ScanAttributeMap pairs;
    const ServerAttributeList* const list = table.GetServerList();
    for (int32_t i = 0; list && i < list->count; ++i) {
        pairs[list->keys[i]] = list->values[i];
    }
    return pairs;
}
