// Private-profile integer reading.
#include "platform/Ini.h"

#include <climits>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolan {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The raw value of key in [section]: the first such key of the first such
// section; nothing when the file, the section or the key is missing.
std::optional<std::string> FindValue(std::string_view section, std::string_view key, const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string line;
    bool inSection = false;
    bool sectionSeen = false;
    bool firstLine = true;
    while (std::getline(file, line)) {
        std::string_view text = line;
        if (firstLine && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        firstLine = false;
        text = TrimBlanks(text);
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[') {
            if (sectionSeen) return std::nullopt;  // only the first matching section counts
            const size_t close = text.find(']');
            std::string_view name = TrimBlanks(text.substr(1, close == std::string_view::npos ? close : close - 1));
            inSection = EqualsNoCase(name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        if (EqualsNoCase(TrimBlanks(text.substr(0, equals)), key)) {
            return std::string(TrimBlanks(text.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

// Leading blanks, an optional sign, then decimal digits up to the first other
// character; saturates at the int range.
int ParseProfileInt(std::string_view value)
{
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    int64_t result = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        result = result * 10 + (value[i] - '0');
        if (result > static_cast<int64_t>(INT_MAX) + 1) result = static_cast<int64_t>(INT_MAX) + 1;
    }
    if (negative) result = -result;
    if (result > INT_MAX) return INT_MAX;
    if (result < INT_MIN) return INT_MIN;
    return static_cast<int>(result);
}

} // namespace

int GetPrivateProfileInt(const char* section, const char* key, int def, const char* path)
{
    if (!section || !key || !path) return def;
    std::optional<std::string> value = FindValue(section, key, path);
    if (!value) return def;
    std::string_view text = *value;
    // A value in matching quotes is read without them.
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    if (TrimBlanks(text).empty()) return def;
    return ParseProfileInt(text);
}

} // namespace tarvolan
