#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// The CRC-32 of ZIP and PNG (polynomial 0xEDB88320, reflected, initial and final value all ones):
// crc32("123456789") is 0xCBF43926.
[[nodiscard]] std::uint32_t crc32(std::string_view bytes);

// A ZIP archive built in memory, every entry stored as it is (no compression) with its CRC-32,
// as an Office Open XML package may be. The entries keep the order they were added in; times are
// the ZIP epoch (1980-01-01 00:00) so that the same content always gives the same bytes. Names are
// ASCII paths with '/' and no leading '/'.
class ZipArchive {
  public:
    // Adds an entry. Throws std::length_error when the archive would need ZIP64 (an entry or the
    // whole archive past 4 GiB, more than 65535 entries), and std::invalid_argument for an empty
    // or repeated name.
    void add(std::string name, std::string_view bytes);

    // The whole archive: the local headers with their data, the central directory and its end.
    [[nodiscard]] std::string bytes() const;

  private:
    struct Entry {
        std::string name;
        std::uint32_t crc = 0;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
    };
    std::vector<Entry> entries_;
    std::string data_;  // the local headers and the entries' bytes, in order
};

}  // namespace tessarin
