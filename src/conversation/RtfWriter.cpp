#include "conversation/RtfWriter.h"

#include "common/GbkString.h"

#include <cmath>
#include <vector>

#include <QBuffer>
#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

namespace tarvolan {

namespace {

// Fonts and colours in order of first use; index 0 of the colour table is
// the reader's automatic colour.
class CRtfTables {
public:
    int Font(const QString& family)
    {
        for (size_t i = 0; i < m_Fonts.size(); ++i)
            if (m_Fonts[i] == family) return static_cast<int>(i);
        m_Fonts.push_back(family);
        return static_cast<int>(m_Fonts.size() - 1);
    }
    int Colour(QRgb rgb)
    {
        for (size_t i = 0; i < m_Colours.size(); ++i)
            if (m_Colours[i] == rgb) return static_cast<int>(i + 1);
        m_Colours.push_back(rgb);
        return static_cast<int>(m_Colours.size());
    }
    QByteArray Header() const;

private:
    std::vector<QString> m_Fonts;
    std::vector<QRgb> m_Colours;
};

// The control word that stands for a character of the text (not of a font
// name, where a control word has no place); null for other characters.
const char* TextControlWord(uint code)
{
    switch (code) {
    case '\t': return "\\tab ";
    case QChar::LineSeparator: return "\\line ";
    default: return nullptr;
    }
}

// A character that RTF writes in ASCII: an escaped or plain byte, or nothing
// for a control character. False for any other character.
bool AppendAsciiForm(QByteArray& out, uint code)
{
    if (code == '\\' || code == '{' || code == '}') {
        out.append('\\');
        out.append(static_cast<char>(code));
    } else if (code >= 0x20 && code < 0x80) {
        out.append(static_cast<char>(code));
    } else if (code >= 0x20) {
        return false;
    }
    // else a control character, which has no place in the text
    return true;
}

// One code point as text. Not through QString::fromUcs4, which takes a
// leading U+FEFF for a byte-order mark and drops it.
QString OneCharacter(uint code)
{
    return QStringView(QChar::fromUcs4(code)).toString();
}

// One byte of the document's code page as \'hh.
void AppendHexByte(QByteArray& out, unsigned char byte)
{
    out.append("\\'");
    out.append(QByteArray(1, static_cast<char>(byte)).toHex());
}

// Text other than ASCII leaves as Unicode escapes. The fallback that a reader
// without them shows is \'3f rather than a plain '?': some readers skip the
// whole word behind \uN, which would take the text that follows with it.
void AppendEscapedText(QByteArray& out, const QString& text)
{
    for (uint code : text.toUcs4()) {
        if (const char* word = TextControlWord(code)) {
            out.append(word);
            continue;
        }
        if (AppendAsciiForm(out, code)) continue;
        // \uN takes a signed 16-bit number; beyond the basic plane the
        // character goes as its surrogate pair.
        for (QChar c : OneCharacter(code)) {
            out.append("\\u");
            out.append(QByteArray::number(static_cast<int16_t>(c.unicode())));
            AppendHexByte(out, '?');
        }
    }
}

// A font name goes in the document's code page (GBK), its other-than-ASCII
// bytes as \'hh: readers that know no Unicode escapes read font names so.
// A ';' would end the name and a control word (\tab, \line) is no part of
// it, so ';' and the control characters go as \'hh too, and a line separator
// like any character without a GBK form as \'3f: a peer's markup may give a
// face any bytes, the font dialog any character.
void AppendFontName(QByteArray& out, const QString& name)
{
    for (uint code : name.toUcs4()) {
        if (code == ';' || code < 0x20) {
            AppendHexByte(out, static_cast<unsigned char>(code));
            continue;
        }
        if (AppendAsciiForm(out, code)) continue;
        const CString gbk = Utf8ToGbk(OneCharacter(code).toStdString());
        for (char byte : gbk.view()) AppendHexByte(out, static_cast<unsigned char>(byte));
    }
}

QByteArray CRtfTables::Header() const
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\n{\\fonttbl";
    for (size_t i = 0; i < m_Fonts.size(); ++i) {
        out.append("{\\f" + QByteArray::number(static_cast<int>(i)) + "\\fnil\\fcharset134 ");
        AppendFontName(out, m_Fonts[i]);
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (QRgb rgb : m_Colours) {
        out.append("\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) +
                   "\\blue" + QByteArray::number(qBlue(rgb)) + ";");
    }
    out.append("}\n\\viewkind4\\pard ");
    return out;
}

QByteArray FormatControls(const QTextCharFormat& format, const QFont& base, CRtfTables& tables)
{
    const QFont font = format.font().resolve(base);
    QByteArray out = "\\plain\\f" + QByteArray::number(tables.Font(font.family()));
    double points = font.pointSizeF();
    if (points <= 0) points = base.pointSizeF() > 0 ? base.pointSizeF() : 9.0;
    out.append("\\fs" + QByteArray::number(static_cast<int>(std::lround(points * 2))));
    if (format.foreground().style() != Qt::NoBrush)
        out.append("\\cf" + QByteArray::number(tables.Colour(format.foreground().color().rgb())));
    if (font.bold()) out.append("\\b");
    if (font.italic()) out.append("\\i");
    if (font.underline()) out.append("\\ul");
    if (font.strikeOut()) out.append("\\strike");
    out.append(' ');
    return out;
}

QByteArray PictureGroup(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    // Goal sizes are in twips: 15 per pixel at 96 pixels per inch.
    QByteArray out = "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                     QByteArray::number(image.height()) + "\\picwgoal" +
                     QByteArray::number(image.width() * 15) + "\\pichgoal" +
                     QByteArray::number(image.height() * 15) + "\n";
    const QByteArray hex = png.toHex();
    for (int i = 0; i < hex.size(); i += 128) {
        out.append(hex.mid(i, 128));
        out.append('\n');
    }
    out.append('}');
    return out;
}

} // namespace

QByteArray DocumentToRtf(const QTextDocument& document, const TRtfPictureSource& picture)
{
    CRtfTables tables;
    const QFont base = document.defaultFont();
    tables.Font(base.family());  // font 0, the default
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) body.append("\\par\n");
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QImage image = picture ? picture(format.toImageFormat()) : QImage();
                if (image.isNull()) continue;
                for (int i = 0; i < fragment.length(); ++i) body.append(PictureGroup(image));
                continue;
            }
            body.append(FormatControls(format, base, tables));
            AppendEscapedText(body, fragment.text());
        }
    }
    QByteArray out = tables.Header();
    out.append(body);
    out.append("\\par\n}\n");
    return out;
}

} // namespace tarvolan
