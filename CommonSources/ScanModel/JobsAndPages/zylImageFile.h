#pragma once
// An image file of the file-system tree: one job held on the server. This is the part the tree
// needs (file type, job id, copying); the job's values and page transfers build on it.

#include "zylFileObj.h"

class zylImageFile : public zylFileObj {
public:
    explicit zylImageFile(zylDirectory* parent);
    zylImageFile(const zylImageFile& source, zylDirectory* parent);
    ~zylImageFile() override;

    zylImageFile* Clone(zylDirectory* parent) const override;

    // The job's id; 0 without a job.
    virtual std::uint32_t GetJobID() const;
};
