#pragma once

#include "runtime/ByteStream.h"
#include "runtime/Errors.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace portolan::testing {

// A stream over bytes in memory that can be told to fail: every byte beyond failAfter is refused with
// failCode, and the close can fail too. It counts its calls and keeps the size asked of each read and
// write, so tests can check how a reader or writer uses a stream.
class MemoryStream final : public ByteStream {
public:
    explicit MemoryStream(std::string bytes = {}) : bytes_(std::move(bytes)) {}

    std::size_t failAfter = std::string::npos;
    int failCode = ioCode::DiskFull;
    bool failClose = false;
    int reads = 0;
    int writes = 0;
    int closes = 0;
    std::vector<std::size_t> requestSizes; // of every read and write, in order

    std::size_t read(void* buffer, std::size_t size) override {
        ++reads;
        requestSizes.push_back(size);
        const std::size_t limit = std::min(bytes_.size(), failAfter);
        const std::size_t got = position_ < limit ? std::min(size, limit - position_) : 0;
        std::memcpy(buffer, bytes_.data() + position_, got);
        position_ += got;
        if (got < size)
            recordError(position_ >= failAfter ? failCode : ioCode::ReadBeyondEnd);
        return got;
    }

    void write(const void* data, std::size_t size) override {
        ++writes;
        requestSizes.push_back(size);
        const std::size_t room = bytes_.size() < failAfter ? failAfter - bytes_.size() : 0;
        bytes_.append(static_cast<const char*>(data), std::min(size, room));
        if (size > room)
            recordError(failCode);
    }

    void close() override {
        ++closes;
        if (failClose)
            recordError(ioCode::GeneralFailure);
    }

    const std::string& bytes() const { return bytes_; }

    // Empties the stream and its counts for another use, keeping the memory it has.
    void clear() {
        bytes_.clear();
        position_ = 0;
        reads = writes = closes = 0;
        requestSizes.clear();
    }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

} // namespace portolan::testing
