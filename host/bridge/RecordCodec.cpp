#include "bridge/RecordCodec.h"

#include <algorithm>
#include <cstring>

#include <QJsonArray>

#include "common/GbkString.h"
#include "protocol/RecordTable.h"

using namespace tarvolan;

namespace host {

namespace {

int32_t IntWord(Word w) { return static_cast<int32_t>(w); }

QJsonValue TextOrNull(const char* p) { return p ? QJsonValue(GbkText(p)) : QJsonValue(QJsonValue::Null); }

int ClampCount(int count, int limit) { return std::clamp(count, 0, limit); }

QLatin1String Name(std::string_view name) { return QLatin1String(name.data(), static_cast<qsizetype>(name.size())); }

// ---- decoding ---------------------------------------------------------------------

QJsonValue DecodeField(const TField& f, const char* p)
{
    switch (f.kind) {
    case EField::Chars: return GetField(p, f.size);
    case EField::Int32: { int32_t v; std::memcpy(&v, p, sizeof v); return v; }
    case EField::Text: { const char* t; std::memcpy(&t, p, sizeof t); return TextOrNull(t); }
    case EField::Texts: {
        QJsonArray texts;
        for (size_t k = 0; k < f.TextCount(); ++k) {
            const char* t;
            std::memcpy(&t, p + k * sizeof t, sizeof t);
            texts.append(TextOrNull(t));
        }
        return texts;
    }
    }
    return QJsonValue::Null;
}

// A field that says something: a non-zero number, a non-empty text, a list
// with a text in it.
bool IsSet(const QJsonValue& v)
{
    if (v.isDouble()) return v.toDouble() != 0;
    if (v.isString()) return !v.toString().isEmpty();
    if (v.isArray()) {
        for (const QJsonValue& item : v.toArray())
            if (!item.isNull()) return true;
    }
    return false;
}

// Every field; or, for a profile, only the fields that are set, so that a
// transcript stays readable.
QJsonValue DecodeBlock(const TBlockLayout& layout, const char* block)
{
    if (!block) return QJsonValue::Null;
    const bool onlySet = &layout == &ProfileLayout();
    QJsonObject obj;
    for (const TField& f : layout.fields) {
        const QJsonValue v = DecodeField(f, block + f.offset);
        if (!onlySet || IsSet(v)) obj[f.name] = v;
    }
    if (layout.IsPlainText()) return obj.begin().value();
    return obj;
}

QJsonArray DecodeBlocks(const TBlockLayout& layout, const char* first, int count)
{
    QJsonArray arr;
    for (int i = 0; first && i < count; ++i) arr.append(DecodeBlock(layout, first + static_cast<size_t>(i) * layout.size));
    return arr;
}

QJsonValue DecodeWord(const TRecordLayout& layout, size_t i, const Word* w)
{
    const TWord& f = layout.Words()[i];
    switch (f.kind) {
    case EWord::Text: return TextOrNull(reinterpret_cast<const char*>(w[i]));
    case EWord::Int:
    case EWord::Count: return IntWord(w[i]);
    case EWord::Block:
    case EWord::Profile: return DecodeBlock(*f.block, reinterpret_cast<const char*>(w[i]));
    case EWord::Array: {
        const char* first = reinterpret_cast<const char*>(w[i]);
        if (!first) return QJsonValue::Null;
        return DecodeBlocks(*f.block, first, ClampCount(IntWord(w[f.link]), f.limit));
    }
    }
    return QJsonValue::Null;
}

QJsonObject DecodeGroupList(const TRecordLayout& layout, const TGroupInfoList* list)
{
    QJsonObject obj;
    obj[kGroupListCount] = list->count;
    obj[kGroupListSlots] = DecodeBlocks(*layout.block, reinterpret_cast<const char*>(list->groups),
                                        ClampCount(list->count, kMaxGroups));
    return obj;
}

} // namespace

QString GbkText(const char* text) { return text ? QString::fromStdString(GbkToUtf8(text)) : QString(); }

QString GetField(const char* field, size_t size)
{
    return QString::fromStdString(GbkToUtf8(CString::FromField(field, size).str()));
}

void PutField(char* field, size_t size, const QString& utf8)
{
    if (size == 0) return;
    const CString gbk = Utf8ToGbk(utf8.toStdString());
    const int room = static_cast<int>(size) - 1;
    int n = 0;
    while (n < gbk.GetLength()) {
        const int step = gbk.IsLeadByteAt(n) ? 2 : 1;
        if (n + step > room) break;
        n += step;
    }
    std::memcpy(field, gbk.c_str(), static_cast<size_t>(n));
    field[n] = '\0';
}

bool IsKnownCode(int code) { return FindRecord(code) != nullptr; }

QJsonValue DecodeRecord(int code, const void* record)
{
    if (!record) return QJsonValue::Null;
    const TRecordLayout* layout = FindRecord(code);
    if (!layout) return QJsonObject();
    switch (layout->shape) {
    case EShape::Block:
    case EShape::Profile: return DecodeBlock(*layout->block, static_cast<const char*>(record));
    case EShape::GroupList: return DecodeGroupList(*layout, static_cast<const TGroupInfoList*>(record));
    case EShape::Words: break;
    }
    QJsonObject obj;
    const Word* w = static_cast<const Word*>(record);
    for (size_t i = 0; i < layout->wordCount; ++i) obj[layout->Words()[i].name] = DecodeWord(*layout, i, w);
    return obj;
}

QJsonObject DecodeOutWords(int code, const void* record)
{
    QJsonObject obj;
    const TRecordLayout* layout = FindRecord(code);
    if (!record || !layout || layout->shape != EShape::Words) return obj;
    const Word* w = static_cast<const Word*>(record);
    for (size_t i = 0; i < layout->wordCount; ++i)
        if (layout->Words()[i].out) obj[layout->Words()[i].name] = DecodeWord(*layout, i, w);
    return obj;
}

// ---- encoding -----------------------------------------------------------------------

char* CRecord::NewBlock(size_t bytes)
{
    const size_t words = (bytes + sizeof(Word) - 1) / sizeof(Word) + 1;
    m_blocks.push_back(std::make_unique<Word[]>(words));  // value-initialised: zero-filled
    return reinterpret_cast<char*>(m_blocks.back().get());
}

const char* CRecord::NewText(const QString& utf8)
{
    m_texts.push_back(Utf8ToGbk(utf8.toStdString()).str());
    return m_texts.back().c_str();
}

class CRecordBuilder {
public:
    CRecordBuilder(CRecord& record, int code) : m_r(record), m_code(code) {}

    bool Fail(const QString& message)
    {
        if (m_error.isEmpty()) m_error = QStringLiteral("code %1: %2").arg(m_code).arg(message);
        return false;
    }
    const QString& Error() const { return m_error; }

    bool CheckKeys(const QJsonObject& obj, const std::vector<std::string_view>& names, const QString& where)
    {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            if (std::none_of(names.begin(), names.end(), [&](std::string_view n) { return it.key() == Name(n); }))
                return Fail(QStringLiteral("unknown field \"%1\"%2").arg(it.key(), where));
        }
        return true;
    }

    bool ReadInt(const QJsonValue& v, const char* name, int64_t& out)
    {
        if (v.isUndefined() || v.isNull()) { out = 0; return true; }
        if (v.isBool()) { out = v.toBool() ? 1 : 0; return true; }
        if (!v.isDouble()) return Fail(QStringLiteral("field \"%1\" must be a number").arg(name));
        out = v.toInteger();
        return true;
    }

    bool ReadText(const QJsonValue& v, const char* name, const char*& out)
    {
        if (v.isNull()) { out = nullptr; return true; }
        if (v.isUndefined()) { out = m_r.NewText(QString()); return true; }
        if (!v.isString()) return Fail(QStringLiteral("field \"%1\" must be a text or null").arg(name));
        out = m_r.NewText(v.toString());
        return true;
    }

    bool FillField(const TField& f, char* p, const QJsonValue& v)
    {
        switch (f.kind) {
        case EField::Chars:
            if (!v.isUndefined() && !v.isString()) return Fail(QStringLiteral("field \"%1\" must be a text").arg(f.name));
            PutField(p, f.size, v.toString());
            return true;
        case EField::Int32: {
            int64_t n;
            if (!ReadInt(v, f.name, n)) return false;
            const int32_t v32 = static_cast<int32_t>(n);
            std::memcpy(p, &v32, sizeof v32);
            return true;
        }
        case EField::Text: {
            const char* t;
            if (!ReadText(v, f.name, t)) return false;
            std::memcpy(p, &t, sizeof t);
            return true;
        }
        case EField::Texts: {
            if (v.isUndefined()) return true;  // null pointers
            const qsizetype room = static_cast<qsizetype>(f.TextCount());
            if (!v.isArray() || v.toArray().size() > room)
                return Fail(QStringLiteral("field \"%1\" must be an array of at most %2 texts").arg(f.name).arg(room));
            const QJsonArray texts = v.toArray();
            for (qsizetype k = 0; k < texts.size(); ++k) {
                const char* t;
                if (!ReadText(texts[k], f.name, t)) return false;
                std::memcpy(p + static_cast<size_t>(k) * sizeof t, &t, sizeof t);
            }
            return true;
        }
        }
        return false;
    }

    bool FillBlock(const TBlockLayout& layout, char* block, const QJsonValue& v)
    {
        if (layout.IsPlainText() && (v.isString() || v.isUndefined())) {
            PutField(block + layout.fields[0].offset, layout.fields[0].size, v.toString());
            return true;
        }
        if (v.isUndefined()) return true;
        const bool profile = &layout == &ProfileLayout();
        if (!v.isObject()) return Fail(profile ? QStringLiteral("a profile must be an object") : QStringLiteral("a block must be an object"));
        const QJsonObject obj = v.toObject();
        std::vector<std::string_view> names;
        for (const TField& f : layout.fields) names.push_back(f.name);
        if (!CheckKeys(obj, names, profile ? QStringLiteral(" in a profile") : QString())) return false;
        for (const TField& f : layout.fields)
            if (!FillField(f, block + f.offset, obj.value(QLatin1String(f.name)))) return false;
        return true;
    }

    // An owned block of the layout's size, filled from JSON; null on an error.
    char* BuildBlock(const TBlockLayout& layout, const QJsonValue& v)
    {
        char* block = m_r.NewBlock(layout.size);
        return FillBlock(layout, block, v) ? block : nullptr;
    }

    // An array of blocks: at least `count` entries and one, zero-filled.
    char* BuildArray(const TBlockLayout& layout, const QJsonArray& items, int count)
    {
        const size_t n = std::max<size_t>({static_cast<size_t>(items.size()), static_cast<size_t>(count), 1});
        char* first = m_r.NewBlock(n * layout.size);
        for (qsizetype i = 0; i < items.size(); ++i)
            if (!FillBlock(layout, first + static_cast<size_t>(i) * layout.size, items[i])) return nullptr;
        return first;
    }

    void* BuildGroupList(const TRecordLayout& layout, const QJsonValue& v)
    {
        if (!v.isObject() && !v.isUndefined()) return Fail(QStringLiteral("the group list must be an object")), nullptr;
        const QJsonObject obj = v.toObject();
        if (!CheckKeys(obj, layout.FieldNames(), QString())) return nullptr;
        const QJsonArray slotList = obj.value(kGroupListSlots).toArray();
        if (slotList.size() > kMaxGroups) return Fail(QStringLiteral("at most %1 slots").arg(kMaxGroups)), nullptr;
        auto* list = reinterpret_cast<TGroupInfoList*>(m_r.NewBlock(sizeof(TGroupInfoList)));
        int64_t count = slotList.size();
        if (obj.contains(kGroupListCount) && !ReadInt(obj.value(kGroupListCount), kGroupListCount, count)) return nullptr;
        list->count = static_cast<int32_t>(count);
        for (qsizetype i = 0; i < slotList.size(); ++i)
            if (!FillBlock(*layout.block, reinterpret_cast<char*>(&list->groups[i]), slotList[i])) return nullptr;
        return list;
    }

    void* BuildWords(const TRecordLayout& layout, const QJsonValue& v)
    {
        if (!v.isObject() && !v.isUndefined()) return Fail(QStringLiteral("the record must be an object")), nullptr;
        const QJsonObject obj = v.toObject();
        if (!CheckKeys(obj, layout.FieldNames(), QString())) return nullptr;
        Word* w = reinterpret_cast<Word*>(m_r.NewBlock(std::max<size_t>(layout.wordCount, 1) * sizeof(Word)));
        for (size_t i = 0; i < layout.wordCount; ++i)
            if (!BuildWord(layout.Words(), i, obj, w)) return nullptr;
        return w;
    }

    bool BuildWord(std::span<const TWord> words, size_t i, const QJsonObject& obj, Word* w)
    {
        const TWord& f = words[i];
        const QJsonValue v = obj.value(QLatin1String(f.name));
        switch (f.kind) {
        case EWord::Text: {
            const char* t;
            if (!ReadText(v, f.name, t)) return false;
            w[i] = reinterpret_cast<Word>(t);
            return true;
        }
        case EWord::Int: {
            int64_t n;
            if (!ReadInt(v, f.name, n)) return false;
            w[i] = static_cast<Word>(static_cast<int32_t>(n));
            return true;
        }
        case EWord::Count: {
            const QJsonValue items = obj.value(QLatin1String(words[static_cast<size_t>(f.link)].name));
            int64_t n = items.isArray() ? items.toArray().size() : 0;
            if (v.isDouble() && !ReadInt(v, f.name, n)) return false;
            if (!v.isUndefined() && !v.isDouble()) return Fail(QStringLiteral("field \"%1\" must be a number").arg(f.name));
            w[i] = static_cast<Word>(static_cast<int32_t>(n));
            return true;
        }
        case EWord::Block:
        case EWord::Profile: {
            if (v.isNull() || (f.out && v.isUndefined())) { w[i] = 0; return true; }
            char* block = BuildBlock(*f.block, v);
            if (!block) return false;
            w[i] = reinterpret_cast<Word>(block);
            return true;
        }
        case EWord::Array: {
            if (v.isNull()) { w[i] = 0; return true; }
            if (!v.isUndefined() && !v.isArray()) return Fail(QStringLiteral("field \"%1\" must be an array").arg(f.name));
            const QJsonValue countValue = obj.value(QLatin1String(words[static_cast<size_t>(f.link)].name));
            const int count = countValue.isDouble() ? ClampCount(static_cast<int>(countValue.toInteger()), f.limit) : 0;
            char* first = BuildArray(*f.block, v.toArray(), count);
            if (!first) return false;
            w[i] = reinterpret_cast<Word>(first);
            return true;
        }
        }
        return false;
    }

    void* Build(const QJsonValue& v)
    {
        const TRecordLayout* layout = FindRecord(m_code);
        if (!layout) return Fail(QStringLiteral("no record layout is known for this code")), nullptr;
        switch (layout->shape) {
        case EShape::Block:
        case EShape::Profile: return BuildBlock(*layout->block, v);
        case EShape::GroupList: return BuildGroupList(*layout, v);
        case EShape::Words: return BuildWords(*layout, v);
        }
        return nullptr;
    }

private:
    CRecord& m_r;
    int m_code;
    QString m_error;
};

std::unique_ptr<CRecord> CRecord::FromJson(int code, const QJsonValue& json, QString* error)
{
    auto record = std::make_unique<CRecord>();
    CRecordBuilder builder(*record, code);
    record->m_data = builder.Build(json);
    if (!record->m_data) {
        if (error) *error = builder.Error().isEmpty() ? QStringLiteral("code %1: bad record").arg(code) : builder.Error();
        return nullptr;
    }
    return record;
}

} // namespace host
