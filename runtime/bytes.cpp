// Byte-buffer operations and reading typed values out of a buffer.
#include <cstring>

#include "runtime/fatal.h"
#include "runtime/text.h"
#include "runtime/text_scan.h"

namespace rt {
namespace {

// Reads a T stored at byte `at`; bytes past the end of the buffer count as zero.
template <typename T>
T ReadPadded(const ByteBuffer& bytes, std::size_t at, std::size_t size = sizeof(T)) {
    unsigned char storage[sizeof(T)] = {};
    const std::size_t available = bytes.size() - at;
    std::memcpy(storage, bytes.data() + at, available < size ? available : size);
    T value;
    std::memcpy(&value, storage, sizeof(T));
    return value;
}

// ReadPadded that also gives the size the value takes in the buffer.
template <typename T>
T Read(const ByteBuffer& bytes, std::size_t at, std::size_t* size) {
    *size = sizeof(T);
    return ReadPadded<T>(bytes, at);
}

// The zero value of the type a code names.
BytesValue ZeroOf(int typeCode) {
    switch (typeCode) {
    case 1: return std::uint8_t{0};
    case 2: return std::int16_t{0};
    case 3: return std::int32_t{0};
    case 4: return std::int64_t{0};
    case 5: return 0.0f;
    case 6: return 0.0;
    case 7: return false;
    case 8: return DateTime{};
    case 9: return std::uintptr_t{0};
    default: return Text();
    }
}

}  // namespace

int ByteLength(const ByteBuffer& bytes) { return static_cast<int>(bytes.size()); }

ByteBuffer LeftBytes(const ByteBuffer& bytes, int n) {
    if (n <= 0 || bytes.empty()) return {};
    const std::size_t count =
        static_cast<std::size_t>(n) < bytes.size() ? static_cast<std::size_t>(n) : bytes.size();
    return ByteBuffer(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

int FindBytes(const ByteBuffer& bytes, const ByteBuffer& pattern, std::optional<int> start) {
    const std::size_t from = detail::ForwardScanStart(bytes.size(), pattern.size(), start);
    if (from == detail::kNotFound) return -1;
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const char* hit =
        detail::FindBytesIn(data + from, bytes.size() - from,
                            reinterpret_cast<const char*>(pattern.data()), pattern.size());
    return hit == nullptr ? -1 : static_cast<int>(hit - data + 1);
}

ByteBuffer BlankBytes(int n) {
    return n <= 0 ? ByteBuffer() : ByteBuffer(static_cast<std::size_t>(n), 0);
}

Text BlankText(int n) { return n < 1 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

BytesValue ReadBytesValue(const ByteBuffer& bytes, int typeCode, int* position) {
    if (typeCode < 1 || typeCode > 10) FatalError(kErrorBytesValueType);
    const long long pos = position ? *position : 1;
    if (pos < 1 || pos > static_cast<long long>(bytes.size())) {
        if (position) *position = -1;
        return ZeroOf(typeCode);
    }
    const std::size_t at = static_cast<std::size_t>(pos - 1);
    BytesValue value;
    std::size_t size = 0;
    switch (typeCode) {
    case 1: value = Read<std::uint8_t>(bytes, at, &size); break;
    case 2: value = Read<std::int16_t>(bytes, at, &size); break;
    case 3: value = Read<std::int32_t>(bytes, at, &size); break;
    case 4: value = Read<std::int64_t>(bytes, at, &size); break;
    case 5: value = Read<float>(bytes, at, &size); break;
    case 6: value = Read<double>(bytes, at, &size); break;
    case 7: value = Read<std::int32_t>(bytes, at, &size) != 0; break;
    case 8: value = DateTime{Read<double>(bytes, at, &size)}; break;
    // A routine reference is stored in 32 bits, as ToText and ToInteger treat it.
    case 9: value = static_cast<std::uintptr_t>(Read<std::uint32_t>(bytes, at, &size)); break;
    default: {
        const void* zero = std::memchr(bytes.data() + at, 0, bytes.size() - at);
        const std::size_t len =
            zero == nullptr ? bytes.size() - at
                            : static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) -
                                                       (bytes.data() + at));
        value = Text(reinterpret_cast<const char*>(bytes.data() + at), len);
        size = len + 1;
        break;
    }
    }
    if (position) {
        // The next position, or -1 when nothing is left to read.
        const long long next = pos + static_cast<long long>(size);
        *position = next > static_cast<long long>(bytes.size()) ? -1 : static_cast<int>(next);
    }
    return value;
}

BytesValue ReadBytesValue(const ByteBuffer& bytes, int typeCode, int position) {
    return ReadBytesValue(bytes, typeCode, &position);
}

std::int32_t BitOr(std::int32_t a, std::int32_t b) { return a | b; }

}  // namespace rt
