#include "groups/GroupSettingsRecord.h"

#include <cstring>

#include "common/TextFunctions.h"

namespace tarvolan {

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <size_t N> void PutField(char (&field)[N], const CString& text, size_t limit)
{
    FieldCut(text, limit).CopyTo(field, N);
}

} // namespace

CString FieldCut(const CString& text, size_t limit)
{
    return CString(GbkPrefix(text.view(), limit));
}

tarvolan::TGroupSettings MakeGroupSettings(const CString& uri, const TGroupSettingsValues& values)
{
    tarvolan::TGroupSettings record;
    std::memset(&record, 0, sizeof(record));
    PutField(record.uri, uri, kSettingsURILimit);
    PutField(record.name, values.name, kSettingsNameLimit);
    PutField(record.displayName, values.displayName, kSettingsDisplayNameLimit);
    record.duration = values.duration;
    record.visibility = values.visibilityIndex + 1;
    record.needPermit = values.needPermit;
    record.maxMembers = values.maxMembers;
    PutField(record.subject, values.subject, kSettingsTextLimit);
    PutField(record.bulletin, values.bulletin, kSettingsTextLimit);
    return record;
}

bool SameGroupName(const CString& a, const CString& b)
{
    const std::string_view x = a.view(), y = b.view();
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size();) {
        const size_t step = GbkCharLength(x, i);
        if (step == 2) {
            if (x.compare(i, 2, y, i, 2) != 0) return false;
        } else if (AsciiLower(x[i]) != AsciiLower(y[i])) {
            return false;
        }
        i += step;
    }
    return true;
}

} // namespace tarvolan
