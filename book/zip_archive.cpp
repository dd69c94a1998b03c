#include "book/zip_archive.h"

#include <array>
#include <limits>
#include <stdexcept>

namespace tessarin {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

// ZIP fields are little-endian.
void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFFU);
    out += static_cast<char>((value >> 8U) & 0xFFU);
}
void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFFU);
    put16(out, value >> 16U);
}

constexpr std::uint32_t kVersion = 20;                            // 2.0: what a stored entry needs
constexpr std::uint32_t kDosTime = 0;                             // 00:00:00
constexpr std::uint32_t kDosDate = (0U << 9U) | (1U << 5U) | 1U;  // 1980-01-01
constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        c = kCrcTable[(c ^ static_cast<unsigned char>(byte)) & 0xFFU] ^ (c >> 8U);
    }
    return c ^ 0xFFFFFFFFU;
}

void ZipArchive::add(std::string name, std::string_view bytes) {
    if (name.empty()) throw std::invalid_argument("a ZIP entry needs a name");
    for (const Entry& entry : entries_) {
        if (entry.name == name) throw std::invalid_argument("ZIP entry named twice: " + name);
    }
    const std::uint64_t end = data_.size() + 30 + name.size() + bytes.size();
    if (bytes.size() >= kLimit || name.size() > 0xFFFFU || end >= kLimit ||
        entries_.size() >= 0xFFFFU) {
        throw std::length_error("the archive would need ZIP64");
    }
    Entry entry{std::move(name), crc32(bytes), static_cast<std::uint32_t>(bytes.size()),
                static_cast<std::uint32_t>(data_.size())};
    put32(data_, 0x04034B50U);  // local file header
    put16(data_, kVersion);
    put16(data_, 0);  // flags
    put16(data_, 0);  // stored
    put16(data_, kDosTime);
    put16(data_, kDosDate);
    put32(data_, entry.crc);
    put32(data_, entry.size);  // compressed size
    put32(data_, entry.size);
    put16(data_, static_cast<std::uint32_t>(entry.name.size()));
    put16(data_, 0);  // extra field
    data_ += entry.name;
    data_.append(bytes);
    entries_.push_back(std::move(entry));
}

std::string ZipArchive::bytes() const {
    std::string out = data_;
    std::string directory;
    for (const Entry& entry : entries_) {
        put32(directory, 0x02014B50U);  // central directory header
        put16(directory, kVersion);     // made by (MS-DOS attributes)
        put16(directory, kVersion);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, kDosTime);
        put16(directory, kDosDate);
        put32(directory, entry.crc);
        put32(directory, entry.size);
        put32(directory, entry.size);
        put16(directory, static_cast<std::uint32_t>(entry.name.size()));
        put16(directory, 0);  // extra field
        put16(directory, 0);  // comment
        put16(directory, 0);  // disk
        put16(directory, 0);  // internal attributes
        put32(directory, 0);  // external attributes
        put32(directory, entry.offset);
        directory += entry.name;
    }
    if (out.size() + directory.size() + 22 >= kLimit) {
        throw std::length_error("the archive would need ZIP64");
    }
    const auto count = static_cast<std::uint32_t>(entries_.size());
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    put32(out, 0x06054B50U);  // end of central directory
    put16(out, 0);            // this disk
    put16(out, 0);            // the directory's disk
    put16(out, count);
    put16(out, count);
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);  // comment
    return out;
}

}  // namespace tessarin
