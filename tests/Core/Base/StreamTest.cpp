#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Base/StreamCreator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
std::string Bytes(uint32_t count, int first = 0)
{
    std::string bytes;
    for (uint32_t i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>((first + int(i)) & 0xFF));
    return bytes;
}

std::string ReadAll(base::Stream& stream, uint32_t chunk = 7)
{
    std::string out;
    char buffer[64];
    for (;;)
    {
        const uint32_t n = stream.Read(buffer, chunk);
        if (n == 0)
            return out;
        out.append(buffer, n);
    }
}

// A stream that counts its destruction and can claim more bytes than it has.
class FakeStream : public base::MemoryStream
{
public:
    FakeStream(const std::string& bytes, int* destroyed, uint32_t claimedSize)
        : base::MemoryStream(bytes.data(), bytes.size()), mDestroyed(destroyed), mClaimed(claimedSize)
    {
    }
    ~FakeStream() override
    {
        if (mDestroyed != nullptr)
            ++*mDestroyed;
    }
    uint32_t Size() const override { return mClaimed; }

private:
    int* mDestroyed;
    uint32_t mClaimed;
};

TEST(MemoryStreamTest, WriteGrowsExactlyAndOverwrites)
{
    base::MemoryStream stream;
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Write("0123456789", 10), 10u);
    EXPECT_EQ(stream.Seek(5, 0), 5u);
    EXPECT_EQ(stream.Write("abcdefghij", 10), 10u);
    EXPECT_EQ(stream.Size(), 15u);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), 15), "01234abcdefghij");
}

TEST(MemoryStreamTest, SeekClampsForEveryOrigin)
{
    base::MemoryStream stream(Bytes(10).data(), 10);
    const struct
    {
        uint32_t from;
        int32_t offset;
        int origin;
        uint32_t expected;
    } cases[] = {
        {4, 3, 0, 3},  {4, -3, 0, 0},  {4, 30, 0, 10}, {4, 3, 1, 7},   {4, -3, 1, 1}, {4, -9, 1, 0},
        {4, 9, 1, 10}, {4, -3, 2, 7},  {4, 3, 2, 10},  {4, -20, 2, 0}, {4, 3, 7, 4},  {4, INT32_MIN, 1, 0},
    };
    for (const auto& c : cases)
    {
        stream.Seek(static_cast<int32_t>(c.from), 0);
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected) << c.offset << " from origin " << c.origin;
    }
}

TEST(MemoryStreamTest, ShortReadAtTheEnd)
{
    base::MemoryStream stream(Bytes(10).data(), 10);
    stream.Seek(-3, 2);
    char buffer[8];
    EXPECT_EQ(stream.Read(buffer, 8), 3u);
    EXPECT_EQ(std::string(buffer, 3), Bytes(3, 7));
    EXPECT_EQ(stream.Read(buffer, 8), 0u);
}

TEST(MemoryStreamTest, ResizeKeepsThePrefixAndPullsThePositionBack)
{
    base::MemoryStream stream(Bytes(10).data(), 10);
    stream.Seek(8, 0);
    stream.Resize(4, true);
    EXPECT_EQ(stream.Size(), 4u);
    EXPECT_EQ(stream.Seek(0, 1), 4u);
    stream.Resize(6, true);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), 4), Bytes(4));
    EXPECT_EQ(stream.Seek(0, 1), 4u);
    stream.Resize(0, false);
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Seek(0, 1), 0u);
}

class FileFixture : public ::testing::Test
{
protected:
    void SetUp() override { hvtest::TempDir::WriteFile(dir.File("data.bin"), Bytes(200)); }

    base::FileStream* OpenFile(int access = 0, int disposition = 2)
    {
        auto* stream = new base::FileStream();
        EXPECT_EQ(stream->GetFile().Open(dir.WFile("data.bin"), access, disposition), HV_OK);
        return stream;
    }

    hvtest::TempDir dir;
};

TEST_F(FileFixture, FileStreamReadsWritesAndSizes)
{
    std::unique_ptr<base::FileStream> stream(OpenFile(2, 2));
    EXPECT_FALSE(stream->AtEnd());
    EXPECT_EQ(stream->Size(), 200u);
    EXPECT_EQ(stream->Seek(-10, 2), 190u);
    EXPECT_EQ(ReadAll(*stream), Bytes(10, 190));
    EXPECT_FALSE(stream->AtEnd()); // a file stream never knows
    EXPECT_EQ(stream->Write("xyz", 3), 3u);
    EXPECT_EQ(stream->Size(), 203u);

    base::FileStream closed;
    EXPECT_EQ(closed.Size(), 0u);
    char buffer[4];
    EXPECT_EQ(closed.Read(buffer, 4), 0u);
    EXPECT_EQ(closed.Write("a", 1), 0u);
}

TEST_F(FileFixture, FrameStreamReadsOnlyItsWindowWhateverTheInnerPosition)
{
    base::FileStream* file = OpenFile();
    base::FrameStream frame(file, true, 100, 50);
    EXPECT_EQ(frame.Size(), 50u);
    char buffer[64];
    ASSERT_EQ(frame.Read(buffer, 20), 20u);
    EXPECT_EQ(std::string(buffer, 20), Bytes(20, 100));
    file->Seek(3, 0); // someone else moves the inner stream
    ASSERT_EQ(frame.Read(buffer, 64), 30u);
    EXPECT_EQ(std::string(buffer, 30), Bytes(30, 120));
    EXPECT_TRUE(frame.AtEnd());
    EXPECT_EQ(frame.Read(buffer, 64), 0u);
    EXPECT_EQ(frame.Seek(-5, 1), 45u);
    EXPECT_EQ(frame.Seek(-100, 1), 0u);
    EXPECT_EQ(frame.Seek(100, 0), 50u);
    EXPECT_EQ(frame.Seek(-10, 2), 40u);
    EXPECT_EQ(frame.Write("x", 1), 0u);
}

TEST(FrameStreamTest, OwningAndNonOwningDestruction)
{
    int destroyed = 0;
    auto* inner = new FakeStream("abc", &destroyed, 3);
    {
        base::FrameStream borrowing(inner, false, 0, 3);
    }
    EXPECT_EQ(destroyed, 0);
    {
        base::FrameStream owning(inner, true, 0, 3);
    }
    EXPECT_EQ(destroyed, 1);

    base::FrameStream empty;
    char buffer[4];
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.Read(buffer, 4), 0u);
}

TEST(CopyFromTest, CountsAndAll)
{
    const std::string source = Bytes(100);
    const struct
    {
        const char* name;
        uint32_t start;
        uint32_t count;
        std::string copied;
    } cases[] = {
        {"all from the middle", 40, base::Stream::kAll, source},
        {"some", 40, 10, Bytes(10, 40)},
        {"more than left", 90, 50, Bytes(10, 90)},
        {"nothing", 40, 0, ""},
        {"at the end", 100, 5, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        base::MemoryStream from(source.data(), source.size());
        from.Seek(static_cast<int32_t>(c.start), 0);
        base::MemoryStream to;
        to.Write("<", 1);
        EXPECT_EQ(to.CopyFrom(from, c.count), c.copied.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(to.GetData()), to.Size()), "<" + c.copied);
    }
}

TEST(CopyFromTest, LargerThanOneBufferAndSourceEndingEarly)
{
    const std::string big = Bytes(0x100000 * 2 + 17, 3);
    base::MemoryStream from(big.data(), big.size());
    base::MemoryStream to;
    to.CopyFrom(from, base::Stream::kAll);
    ASSERT_EQ(to.Size(), big.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(to.GetData()), to.Size()), big);

    // The source claims 1000 bytes but holds 10: the copy stops, it does not hang.
    FakeStream liar(Bytes(10), nullptr, 1000);
    base::MemoryStream out;
    EXPECT_EQ(out.CopyFrom(liar, 500), 10u);
    EXPECT_EQ(out.Size(), 10u);
    base::MemoryStream out2;
    out2.CopyFrom(liar, base::Stream::kAll);
    EXPECT_EQ(out2.Size(), 10u);
}

// A destination that takes only so many bytes: a full disk.
class FullStream : public base::MemoryStream
{
public:
    explicit FullStream(uint32_t room) : mRoom(room) {}
    uint32_t Write(const void* buffer, uint32_t count) override
    {
        const uint32_t taken = count < mRoom ? count : mRoom;
        mRoom -= taken;
        return taken == 0 ? 0 : MemoryStream::Write(buffer, taken);
    }

private:
    uint32_t mRoom;
};

TEST(CopyFromTest, ShortWriteStopsAndIsCounted)
{
    const std::string big = Bytes(0x100000 * 2 + 17, 3);
    base::MemoryStream from(big.data(), big.size());
    FullStream to(0x100000 + 5);
    EXPECT_EQ(to.CopyFrom(from, base::Stream::kAll), 0x100000u + 5u);
    // It stopped at the first short write instead of reading on.
    EXPECT_EQ(from.Seek(0, 1), 0x200000u);
}

TEST_F(FileFixture, CreatorsOpenFreshStreams)
{
    base::FileStreamCreator files(dir.WFile("data.bin"), 0, 2);
    base::FrameStreamCreator frames(new base::FileStreamCreator(dir.WFile("data.bin"), 0, 2), true, 10, 5);
    base::Stream* first = nullptr;
    base::Stream* second = nullptr;
    ASSERT_EQ(files.Create(&first), HV_OK);
    ASSERT_EQ(frames.Create(&second), HV_OK);
    EXPECT_EQ(first->Size(), 200u);
    EXPECT_EQ(ReadAll(*second), Bytes(5, 10));
    delete first;
    delete second;

    base::Stream* untouched = reinterpret_cast<base::Stream*>(0x1234);
    base::FileStreamCreator missing(dir.WFile("missing.bin"), 0, 2);
    EXPECT_EQ(missing.Create(&untouched), HV_FAIL);
    base::FrameStreamCreator overMissing(&missing, false, 0, 1);
    EXPECT_EQ(overMissing.Create(&untouched), HV_FAIL);
    base::FrameStreamCreator withoutInner(nullptr, false, 0, 1);
    EXPECT_EQ(withoutInner.Create(&untouched), HV_FAIL);
    EXPECT_EQ(untouched, reinterpret_cast<base::Stream*>(0x1234));
}
} // namespace
