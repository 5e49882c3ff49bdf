#pragma once
// One request for page data of a stored job, as an image file asks the server for it: the
// job's own attributes with the page's image values, exported once as the library's list so
// that every block of a page read can send the same list.

#include <cstdint>

#include "ScanAttributeWrapper.h"
#include "quorvel_api.h"

class QuorvelWrapperIntf;

class PageRequest {
public:
    struct Values {
        std::int32_t page = 0; // -1: the whole job
        double xResolution = 0;
        double yResolution = 0;
        std::int16_t bitsPerPixel = 0;
        std::int16_t pixelType = 0;
        std::uint16_t compression = 0;
        std::int16_t fileFormat = 0; // -1: pixel rows
        std::int32_t width = 0;
        std::int32_t height = 0;

        bool operator==(const Values& other) const;
    };

    // The wrapper must be the allocator the list is built with (as QuorvelWrapper is).
    PageRequest(QuorvelWrapperIntf* wrapper, const ServerAttributeList* job, const Values& values);
    PageRequest(const PageRequest&) = delete;
    PageRequest& operator=(const PageRequest&) = delete;
    ~PageRequest();

    const Values& GetValues() const { return m_values; }
    // Owned by the request; null when the wrapper cannot build lists.
    ServerAttributeList* GetList() const { return m_list; }

private:
    Values m_values;
    ScanAttributeWrapper m_table;
    ServerAttributeList* m_list;
};
