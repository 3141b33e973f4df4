#include "common/TextFunctions.h"

#include <cstdlib>

namespace tarvolan {

namespace {

// Position of the first separator that starts a character; npos when none.
size_t FindSeparator(std::string_view text, char separator)
{
    return FindAtCharStart(text, std::string_view(&separator, 1));
}

} // namespace

CString GetURIField(const CString& uri, int part)
{
    const std::string_view all = uri.view();

    std::string_view scheme;
    std::string_view rest = all;
    if (size_t colon = FindSeparator(all, ':'); colon != std::string_view::npos) {
        scheme = all.substr(0, colon);
        rest = all.substr(colon + 1);
    }
    if (part == URI_SCHEME) return CString(scheme);

    std::string_view resource;
    if (size_t slash = FindSeparator(rest, '/'); slash != std::string_view::npos) {
        resource = rest.substr(slash + 1);
        rest = rest.substr(0, slash);
    }
    if (part == URI_RESOURCE) return CString(resource);
    if (part == URI_ADDRESS) return CString(rest);

    std::string_view user = rest;
    std::string_view host;
    if (size_t at = FindSeparator(rest, '@'); at != std::string_view::npos) {
        user = rest.substr(0, at);
        host = rest.substr(at + 1);
    }
    switch (part) {
    case URI_USER: return CString(user);
    case URI_HOST: return CString(host);
    case URI_SCHEME_USER: {
        CString result(scheme.empty() ? std::string_view("sip") : scheme);
        result += ':';
        result += CString(user);
        return result;
    }
    default: return uri;
    }
}

CString CompleteAccountURI(const CString& account, const CString& domain)
{
    CString uri = account;
    if (FindSeparator(uri.view(), '@') == std::string_view::npos) uri += "@" + domain;
    if (FindAtCharStart(uri.view(), "sip:") == std::string_view::npos) uri.Insert(0, "sip:");
    return uri;
}

namespace {

struct TEntity {
    const char* plain;
    const char* escaped;
};

// The order matters: "&" first when escaping, "&amp;" first when unescaping.
constexpr TEntity kEntities[] = {
    {"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}, {"\"", "&quot;"}, {"'", "&apos;"},
};

} // namespace

CString XmlEscape(const CString& text)
{
    CString result(text);
    for (const TEntity& e : kEntities) result.Replace(e.plain, e.escaped);
    return result;
}

CString XmlUnescape(const CString& text)
{
    CString result(text);
    for (const TEntity& e : kEntities) result.Replace(e.escaped, e.plain);
    return result;
}

bool IsChineseSystemLanguage()
{
    const char* name = nullptr;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) {
            name = value;
            break;
        }
    }
    if (!name) return false;
    // The primary language ends at the territory, code set or modifier.
    std::string_view locale(name);
    std::string_view language = locale.substr(0, locale.find_first_of("_.@-"));
    return CString(language).EqualsNoCase("zh");
}

size_t GbkCharLength(std::string_view text, size_t pos)
{
    if (pos + 1 >= text.size()) return 1;
    unsigned char c = static_cast<unsigned char>(text[pos]);
    return (c >= 0x81 && c <= 0xFE) ? 2 : 1;
}

std::string_view GbkPrefix(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    size_t end = 0;
    while (end < text.size()) {
        size_t step = GbkCharLength(text, end);
        if (end + step > maxBytes) break;
        end += step;
    }
    return text.substr(0, end);
}

bool IsCharBoundary(std::string_view text, size_t pos)
{
    if (pos > text.size()) return false;
    size_t i = 0;
    while (i < pos) i += GbkCharLength(text, i);
    return i == pos;
}

size_t FindAtCharStart(std::string_view text, std::string_view code)
{
    for (size_t p = 0; p < text.size(); p += GbkCharLength(text, p)) {
        if (text.compare(p, code.size(), code) == 0) return p;
    }
    return std::string_view::npos;
}

} // namespace tarvolan
