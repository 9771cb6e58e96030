#pragma once

#include <cstddef>

namespace portolan {

// A byte stream whose failures are recorded, not thrown. Each operation that fails records an error code
// (replacing any code recorded before), later operations still run, and fetchError() hands out the code
// and clears it, so a command can test once after a group of operations.
class ByteStream {
public:
    virtual ~ByteStream() = default;

    // Reads up to size bytes into buffer and returns how many arrived. Fewer than size records an error:
    // the code of the failed read, or ioCode::ReadBeyondEnd at the end of the data.
    virtual std::size_t read(void* buffer, std::size_t size) = 0;

    // Writes size bytes; a failure or a short write records an error.
    virtual void write(const void* data, std::size_t size) = 0;

    // Ends the use of the stream; a failure records an error.
    virtual void close() = 0;

    int fetchError() {
        const int code = error_;
        error_ = 0;
        return code;
    }

protected:
    void recordError(int code) { error_ = code; }

private:
    int error_ = 0;
};

} // namespace portolan
