// Display texts of registry values in the registry editor's conventions.
#include "Entries/ValueText.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace {

// Numbers are stored little-endian, whatever the processor.
uint64_t LittleEndianNumber(const std::string& data) {
    uint64_t number = 0;
    for (size_t i = data.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

std::string NumberText(const std::string& data) {
    const uint64_t number = LittleEndianNumber(data);
    char text[48];
    if (data.size() == sizeof(uint32_t))
        std::snprintf(text, sizeof(text), "0x%08" PRIx32 " (%" PRIu32 ")", static_cast<uint32_t>(number),
                      static_cast<uint32_t>(number));
    else
        std::snprintf(text, sizeof(text), "0x%016" PRIx64 " (%" PRIu64 ")", number, number);
    return text;
}

std::string HexBytesText(const std::string& data) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(data.size() * 3);
    for (const char byte : data) {
        if (!text.empty()) text += ' ';
        text += kDigits[static_cast<unsigned char>(byte) >> 4];
        text += kDigits[static_cast<unsigned char>(byte) & 0xF];
    }
    return text;
}

// The strings end at the first empty one (the list's double null) or at the data's end, when
// the final nulls are missing.
std::string MultiStringText(const std::string& data) {
    std::string text;
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\0', start);
        if (end == std::string::npos) end = data.size();
        if (end == start) break;
        if (!text.empty()) text += ' ';
        text.append(data, start, end - start);
        start = end + 1;
    }
    return text;
}

}  // namespace

std::string ValueDisplayText(const TRegistryValue& value) {
    if (value.IsText()) return value.Text();
    switch (value.type) {
    case REG_DWORD:
        if (value.data.size() == sizeof(uint32_t)) return NumberText(value.data);
        break;
    case REG_QWORD:
        if (value.data.size() == sizeof(uint64_t)) return NumberText(value.data);
        break;
    case REG_MULTI_SZ:
        return MultiStringText(value.data);
    }
    return HexBytesText(value.data);
}
