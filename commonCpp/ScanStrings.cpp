#include "ScanStrings.h"

const PageSizeEntry* FindPageSizeExact(double width, double height) {
    for (const PageSizeEntry& row : PageSizeTable) {
        if (row.width == width && row.height == height) {
            return &row;
        }
    }
    return nullptr;
}

const PageSizeEntry* FindPageSizeHolding(double width, double height) {
    for (const PageSizeEntry& row : PageSizeTable) {
        if (row.width >= width && row.height >= height) {
            return &row;
        }
    }
    return nullptr;
}

std::string LookUpPaperKeyword(double width, double height,
                               const std::function<bool(const std::string&)>& serverLists,
                               bool serverTakesCustomSizes) {
    if (const PageSizeEntry* exact = FindPageSizeExact(width, height)) {
        if (serverLists(exact->name)) {
            return exact->name;
        }
        if (serverLists(exact->alternateName)) {
            return exact->alternateName;
        }
    }
    if (serverTakesCustomSizes) {
        return std::string();
    }
    if (const PageSizeEntry* holding = FindPageSizeHolding(width, height)) {
        return holding->name;
    }
    return ScanConstStrings::PaperTabloid;
}
