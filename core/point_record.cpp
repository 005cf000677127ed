#include "point_record.h"

#include "source_stream.h"

#include <algorithm>

namespace velkaro {

std::size_t readSourceLine(SourceStream &stream, char (&buffer)[kLineBufferSize]) {
    const std::size_t stored = stream.readLine(buffer, kLineBufferSize - 1);
    buffer[stored] = '\0';
    return stored;
}

bool reachesMinimumLength(const char (&buffer)[kLineBufferSize]) {
    return std::find(buffer, buffer + kMinimumLineLength, '\0') == buffer + kMinimumLineLength;
}

} // namespace velkaro
