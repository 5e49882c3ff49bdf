#include "PageRequest.h"

bool PageRequest::Values::operator==(const Values& other) const {
    return page == other.page && xResolution == other.xResolution &&
           yResolution == other.yResolution && bitsPerPixel == other.bitsPerPixel &&
           pixelType == other.pixelType && compression == other.compression &&
           fileFormat == other.fileFormat && width == other.width && height == other.height;
}

PageRequest::PageRequest(QuorvelWrapperIntf* wrapper, const ServerAttributeList* job,
                         const Values& values)
    : m_values(values), m_table(wrapper, nullptr) {
    m_table.SetImageAttributes(job, values.page, values.xResolution, values.yResolution,
                               values.bitsPerPixel, values.pixelType, values.compression,
                               values.fileFormat, values.width, values.height);
    m_list = m_table.GetServerList();
}

PageRequest::~PageRequest() = default;
