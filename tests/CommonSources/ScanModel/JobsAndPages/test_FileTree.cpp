#include "TwainDefs.h"
#include "zylDirectory.h"
#include "zylImageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using CommonTwain::TwainDateTime;

namespace {

// An image file with a job id of its own.
class JobImage : public zylImageFile {
public:
    JobImage(zylDirectory* parent, std::uint32_t jobId) : zylImageFile(parent), m_jobId(jobId) {}
    JobImage(const JobImage& source, zylDirectory* parent)
        : zylImageFile(source, parent), m_jobId(source.m_jobId) {}
    JobImage* Clone(zylDirectory* parent) const override { return new JobImage(*this, parent); }
    std::uint32_t GetJobID() const override { return m_jobId; }

private:
    std::uint32_t m_jobId;
};

// Counts the entries that are deleted.
class CountedFile : public zylFileObj {
public:
    CountedFile(zylDirectory* parent, int& deleted) : zylFileObj(parent), m_deleted(deleted) {}
    ~CountedFile() override { ++m_deleted; }

private:
    int& m_deleted;
};

// Tells how often an entry asked to leave it.
class WatchedDirectory : public zylDirectory {
public:
    WatchedDirectory() : zylDirectory(nullptr) {}
    void RemoveEntry(zylFileObj* entry) override {
        ++removals;
        zylDirectory::RemoveEntry(entry);
    }
    int removals = 0;
};

zylFileObj* Named(zylFileObj* entry, const char* name) {
    entry->SetName(name);
    return entry;
}

TwainDateTime At(int second) {
    return TwainDateTime(2005, 1, 1, 0, 0, static_cast<std::int16_t>(second), 0.0);
}

} // namespace

TEST(zylDirectory, RemovedEntryLeavesAHoleTheNextEntryFills) {
    zylDirectory root(nullptr);
    EXPECT_EQ(TWFY_DIRECTORY, root.GetFileType());
    EXPECT_EQ("zylDirectory", root.GetClassName());
    new zylFileObj(&root);
    zylFileObj* second = new zylFileObj(&root);
    new zylFileObj(&root);
    EXPECT_EQ(&root, second->GetParent());
    delete second;
    EXPECT_EQ(3u, root.GetCount());
    EXPECT_EQ(nullptr, root.GetFileObjAt(1));
    zylFileObj* next = new zylFileObj(&root);
    EXPECT_EQ(next, root.GetFileObjAt(1));
    EXPECT_EQ(3u, root.GetCount());
    EXPECT_EQ(nullptr, root.GetFileObjAt(3)); // beyond the places
}

TEST(zylDirectory, DeletingADirectoryDeletesItsEntriesAndLeavesItsParent) {
    int deleted = 0;
    zylDirectory root(nullptr);
    auto* mailbox = new zylDirectory(&root);
    new CountedFile(mailbox, deleted);
    auto* inner = new zylDirectory(mailbox);
    new CountedFile(inner, deleted);
    new CountedFile(mailbox, deleted);
    delete mailbox;
    EXPECT_EQ(3, deleted);
    EXPECT_EQ(1u, root.GetCount());
    EXPECT_EQ(nullptr, root.GetFileObjAt(0));
}

TEST(zylDirectory, FindByNameIsExact) {
    zylDirectory root(nullptr);
    zylFileObj* camera = Named(new zylFileObj(&root), "CAMERA");
    EXPECT_EQ(camera, root.FindByName("CAMERA"));
    EXPECT_EQ(nullptr, root.FindByName("camera"));
    EXPECT_EQ(nullptr, root.FindByName("CAMERA "));
}

TEST(zylDirectory, CountsAndFindsImagesDepthFirst) {
    zylDirectory root(nullptr);
    root.SetFileType(TWFY_DIRECTORY);
    Named(new zylFileObj(&root), "CAMERA")->SetFileType(TWFY_CAMERA);
    auto* first = new zylDirectory(&root);
    auto* second = new zylDirectory(&root);
    new JobImage(first, 11);
    auto* nested = new zylDirectory(first);
    JobImage* deep = new JobImage(nested, 22);
    new JobImage(second, 22);
    new JobImage(second, 33);
    EXPECT_EQ(4, root.CountImageFiles());
    EXPECT_EQ(deep, root.FindImageFileByJobID(22));
    EXPECT_EQ(nullptr, root.FindImageFileByJobID(44));
    EXPECT_EQ(first, root.GetDirectoryAt(1));
    EXPECT_EQ(nullptr, root.GetImageFileAt(1));
    EXPECT_EQ(nullptr, root.GetDirectoryAt(0));
}

TEST(zylDirectory, DeepCopyOwnsItsOwnEntries) {
    zylDirectory root(nullptr);
    root.SetName("root");
    auto* mailbox = new zylDirectory(&root);
    mailbox->SetName("box");
    new JobImage(mailbox, 7);
    zylFileObj* removed = new zylFileObj(&root);
    Named(new zylFileObj(&root), "CAMERA")->SetFileType(TWFY_CAMERA);
    delete removed; // a hole at place 1

    std::unique_ptr<zylDirectory> copy(root.Clone(nullptr));
    EXPECT_EQ("root", copy->GetName());
    ASSERT_EQ(3u, copy->GetCount());
    EXPECT_EQ(nullptr, copy->GetFileObjAt(1)); // hole kept
    zylDirectory* copiedBox = copy->GetDirectoryAt(0);
    ASSERT_NE(nullptr, copiedBox);
    EXPECT_NE(mailbox, copiedBox);
    EXPECT_EQ(copy.get(), copiedBox->GetParent());
    zylImageFile* copiedImage = copiedBox->GetImageFileAt(0);
    ASSERT_NE(nullptr, copiedImage);
    EXPECT_EQ(7u, copiedImage->GetJobID());
    EXPECT_EQ(copiedBox, copiedImage->GetParent());

    copy.reset();
    EXPECT_EQ(mailbox, root.GetDirectoryAt(0));
    EXPECT_EQ(1, root.CountImageFiles());
    EXPECT_EQ("CAMERA", root.GetFileObjAt(2)->GetName());
}

TEST(zylDirectory, UnplacedCopyNeverTouchesItsParent) {
    WatchedDirectory parent;
    JobImage* image = new JobImage(&parent, 5);
    std::unique_ptr<zylImageFile> copy(image->Clone(image->GetParent()));
    EXPECT_EQ(&parent, copy->GetParent());
    EXPECT_EQ(1u, parent.GetCount());
    copy.reset();
    EXPECT_EQ(0, parent.removals);
    EXPECT_EQ(image, parent.GetImageFileAt(0));
}

TEST(zylDirectory, AnEntryIsPlacedInOneDirectoryOnly) {
    zylDirectory a(nullptr);
    zylDirectory b(nullptr);
    zylFileObj* entry = new zylFileObj(&a);
    a.AddEntry(entry); // already here: not placed twice
    EXPECT_EQ(1u, a.GetCount());
    b.AddEntry(entry);
    EXPECT_EQ(nullptr, a.GetFileObjAt(0));
    EXPECT_EQ(entry, b.GetFileObjAt(0));
    EXPECT_EQ(&b, entry->GetParent());
}

TEST(zylFileObj, OrderCameraThenDirectoriesThenImagesByTime) {
    zylFileObj camera(nullptr);
    camera.SetFileType(TWFY_CAMERA);
    camera.SetName("Z");
    zylDirectory dirA(nullptr);
    dirA.SetName("A");
    zylDirectory dirAb(nullptr);
    dirAb.SetName("Ab");
    zylDirectory dirHigh(nullptr);
    dirHigh.SetName("\xE9"); // unsigned byte order: after "A"
    zylImageFile early(nullptr);
    early.SetName("zzz");
    early.SetModifiedTime(At(1));
    zylImageFile late(nullptr);
    late.SetName("aaa");
    late.SetModifiedTime(At(2));
    zylImageFile sameTime(nullptr);
    sameTime.SetName("other");
    sameTime.SetModifiedTime(At(2));

    EXPECT_TRUE(zylFileObj::IsLess(&camera, &dirA));
    EXPECT_FALSE(zylFileObj::IsLess(&dirA, &camera));
    EXPECT_TRUE(zylFileObj::IsLess(&dirA, &early));
    EXPECT_TRUE(zylFileObj::IsLess(&dirA, &dirAb));
    EXPECT_TRUE(zylFileObj::IsLess(&dirAb, &dirHigh));
    EXPECT_TRUE(zylFileObj::IsLess(&early, &late));
    EXPECT_TRUE(zylFileObj::IsEqual(&late, &sameTime));
    EXPECT_FALSE(zylFileObj::IsEqual(&dirA, &early));
    EXPECT_TRUE(zylFileObj::IsGreater(&late, &early));
    EXPECT_FALSE(zylFileObj::IsGreater(&late, &sameTime));

    zylDirectory root(nullptr);
    zylFileObj* const unsorted[] = {&late, &dirAb, &early, &camera, &dirA};
    for (zylFileObj* entry : unsorted) {
        root.GetEntries().Append(entry);
    }
    auto& entries = root.GetEntries();
    std::sort(entries.GetData(), entries.GetData() + entries.GetCount(), zylFileObj::IsLess);
    EXPECT_EQ(&camera, entries.GetAt(0));
    EXPECT_EQ(&dirA, entries.GetAt(1));
    EXPECT_EQ(&dirAb, entries.GetAt(2));
    EXPECT_EQ(&early, entries.GetAt(3));
    EXPECT_EQ(&late, entries.GetAt(4));
    // The directory does not own these stack objects.
    for (std::uint32_t i = 0; i < entries.GetCount(); ++i) {
        entries.SetAt(i, nullptr);
    }
}

TEST(zylFileObj, NewEntryCarriesLocalTimeAndDefaults) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    zylFileObj entry(nullptr);
    EXPECT_EQ(TWFY_IMAGE, entry.GetFileType());
    EXPECT_EQ(1u, entry.GetSize());
    EXPECT_EQ(0u, entry.GetAuxValue());
    EXPECT_FALSE(entry.IsMarked());
    EXPECT_EQ("zylFileObj", entry.GetClassName());
    EXPECT_EQ(before.wYear, entry.GetCreateTime().GetYear());
    EXPECT_EQ(0.0, entry.GetCreateTime().GetFraction());
    EXPECT_TRUE(entry.GetCreateTime() == entry.GetModifiedTime());

    entry.SetMarked(true);
    entry.SetSize(42);
    entry.SetName("n");
    std::unique_ptr<zylFileObj> copy(entry.CloneSameParent());
    EXPECT_TRUE(copy->IsMarked());
    EXPECT_EQ(42u, copy->GetSize());
    EXPECT_EQ("n", copy->GetName());
}
