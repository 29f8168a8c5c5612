#include "platform/rtf_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <unordered_map>

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/font.h"

namespace kx {

namespace {

// Deeper groups still yield their text, but their formatting is ignored, so
// the saved states never take more than this many entries.
constexpr std::size_t kMaxGroupDepth = 1000;
// Numeric parameters saturate here; nothing in a document needs more, and
// the arithmetic on them can then never overflow.
constexpr long long kParamLimit = 1000000;
// RTF limits control words to 32 letters; a longer one cannot be a word we
// know, so it is read to its end and ignored.
constexpr std::size_t kMaxWordLength = 32;
// 1638 points, the largest size word processors offer; larger sizes only
// make the layout slow.
constexpr int kMaxHalfPoints = 3276;
// Windows face names have at most 31 characters. The cap keeps a long name
// from making every comparison of two formats expensive.
constexpr qsizetype kMaxFaceNameLength = 31;

constexpr char16_t kReplacement = 0xFFFD;

// The upper half of code page 1252 differs from Latin-1 in 0x80..0x9F; the
// five positions the code page leaves undefined become the replacement
// character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char16_t FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kCp1252High[byte - 0x80];
    }
    return byte;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

enum class TKeyword {
    Symbol,
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    ColorIndex,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Binary,
    FontTable,
    ColorTable,
    ColorComponent,
    SkippedDestination
};

// Value is the character a symbol word stands for, or the channel of a
// colour component (0 red, 1 green, 2 blue).
struct TKeywordEntry {
    TKeyword Keyword;
    char16_t Value = 0;
};

// A paragraph mark travels as U+2029 to the destination, which is where it
// ends a paragraph or is ignored.
constexpr char16_t kParagraphMark = 0x2029;

// Destinations whose content is not text of the document. Fields are
// deliberately absent: their result is the text to show.
constexpr std::string_view kSkippedDestinations =
    "info stylesheet pict object objdata header headerl headerr headerf footer footerl footerr footerf "
    "footnote annotation author operator title subject keywords comment doccomm company creatim revtim "
    "printim buptim template filetbl listtable listoverridetable revtbl rsidtbl generator xmlnstbl themedata "
    "colorschememapping latentstyles datastore nonshppict bkmkstart bkmkend xe tc txe rxe fldinst";

// Control words and control symbols (a backslash and one character) alike.
const std::unordered_map<std::string_view, TKeywordEntry>& Keywords() {
    static const std::unordered_map<std::string_view, TKeywordEntry> table = [] {
        using enum TKeyword;
        // clang-format off
        std::unordered_map<std::string_view, TKeywordEntry> t = {
            {"par", {Symbol, kParagraphMark}}, {"row", {Symbol, kParagraphMark}},
            {"sect", {Symbol, kParagraphMark}}, {"\r", {Symbol, kParagraphMark}},
            {"\n", {Symbol, kParagraphMark}}, {"line", {Symbol, 0x2028}},
            {"tab", {Symbol, u'\t'}}, {"cell", {Symbol, u'\t'}},
            {"emdash", {Symbol, 0x2014}}, {"endash", {Symbol, 0x2013}},
            {"emspace", {Symbol, 0x2003}}, {"enspace", {Symbol, 0x2002}}, {"qmspace", {Symbol, 0x2005}},
            {"bullet", {Symbol, 0x2022}}, {"lquote", {Symbol, 0x2018}}, {"rquote", {Symbol, 0x2019}},
            {"ldblquote", {Symbol, 0x201C}}, {"rdblquote", {Symbol, 0x201D}},
            {"\\", {Symbol, u'\\'}}, {"{", {Symbol, u'{'}}, {"}", {Symbol, u'}'}},
            {"~", {Symbol, 0x00A0}}, {"-", {Symbol, 0x00AD}}, {"_", {Symbol, 0x2011}},
            {"*", {SkippedDestination}},
            {"plain", {Plain}}, {"f", {Font}}, {"fs", {FontSize}}, {"b", {Bold}}, {"i", {Italic}},
            {"cf", {ColorIndex}}, {"deff", {DefaultFont}}, {"uc", {UnicodeSkip}}, {"u", {Unicode}},
            {"bin", {Binary}}, {"fonttbl", {FontTable}}, {"colortbl", {ColorTable}},
            {"red", {ColorComponent, 0}}, {"green", {ColorComponent, 1}}, {"blue", {ColorComponent, 2}}};
        // clang-format on
        std::string_view rest = kSkippedDestinations;
        while (!rest.empty()) {
            const std::size_t space = std::min(rest.find(' '), rest.size());
            t.emplace(rest.substr(0, space), TKeywordEntry{SkippedDestination});
            rest.remove_prefix(std::min(space + 1, rest.size()));
        }
        return t;
    }();
    return table;
}

}  // namespace

std::vector<TRtfParagraph> TRtfReader::Read() {
    while (!AtEnd()) {
        const char c = m_in[m_pos++];
        switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                ReadControl();
                break;
            case '\r':
            case '\n':
                // Line breaks in the file only wrap long lines.
                break;
            default:
                if (m_skipUnits > 0) {
                    --m_skipUnits;
                } else {
                    Emit(FromCp1252(static_cast<unsigned char>(c)));
                }
                break;
        }
    }
    EndParagraph();
    return std::move(m_paragraphs);
}

// Reads the letters and the optional numeric parameter of a control word
// whose backslash is already consumed. A single space after it belongs to
// the word; any other delimiter is left in the input.
TRtfReader::TControlWord TRtfReader::ReadWord() {
    TControlWord word;
    const std::size_t start = m_pos;
    while (!AtEnd() && IsLetter(m_in[m_pos])) {
        ++m_pos;
    }
    if (m_pos - start <= kMaxWordLength) {
        word.Name = std::string_view(m_in).substr(start, m_pos - start);
    }
    bool negative = false;
    if (!AtEnd() && m_in[m_pos] == '-' && m_pos + 1 < m_in.size() && IsDigit(m_in[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    long long value = 0;
    while (!AtEnd() && IsDigit(m_in[m_pos])) {
        word.HasParam = true;
        if (value < kParamLimit) {
            value = value * 10 + (m_in[m_pos] - '0');
        }
        ++m_pos;
    }
    value = std::min(value, kParamLimit);
    word.Param = negative ? -value : value;
    if (!AtEnd() && m_in[m_pos] == ' ') {
        ++m_pos;
    }
    return word;
}

void TRtfReader::ReadControl() {
    if (AtEnd()) {
        return;
    }
    const char c = m_in[m_pos];
    if (IsLetter(c)) {
        const TControlWord word = ReadWord();
        if (m_skipUnits > 0) {
            --m_skipUnits;
            // Binary data must be passed over even as a fallback, or its
            // bytes would be read as RTF.
            if (word.Name == "bin") {
                SkipBinary(word.Param);
            }
            return;
        }
        Word(word);
        return;
    }
    ++m_pos;
    if (c == '\'') {
        int byte = 0;
        int digits = 0;
        while (digits < 2 && !AtEnd() && HexValue(m_in[m_pos]) >= 0) {
            byte = byte * 16 + HexValue(m_in[m_pos]);
            ++m_pos;
            ++digits;
        }
        if (m_skipUnits > 0) {
            --m_skipUnits;
        } else if (digits > 0) {
            Emit(FromCp1252(static_cast<unsigned char>(byte)));
        }
        return;
    }
    if (m_skipUnits > 0) {
        --m_skipUnits;
        return;
    }
    Word(TControlWord{.Name = std::string_view(m_in).substr(m_pos - 1, 1)});
}

void TRtfReader::Word(const TControlWord& word) {
    const auto found = Keywords().find(word.Name);
    if (found == Keywords().end()) {
        return;
    }
    const auto [keyword, value] = found->second;
    switch (keyword) {
        case TKeyword::Symbol:
            Emit(value);
            return;
        case TKeyword::Unicode:
            Unicode(word.Param);
            m_skipUnits = m_state.UnicodeSkip;
            return;
        case TKeyword::Binary:
            SkipBinary(word.Param);
            return;
        case TKeyword::DefaultFont:
            m_defaultFont = word.Param;
            return;
        case TKeyword::SkippedDestination:
            SkipGroup();
            return;
        case TKeyword::ColorComponent:
            if (m_state.Destination == TDestination::ColorTable) {
                m_rgb[value] = static_cast<int>(std::clamp(word.Param, 0LL, 255LL));
                m_colorGiven = true;
            }
            return;
        case TKeyword::Font:
            if (m_state.Destination == TDestination::FontTable) {
                CommitFont();
                m_fontEntry = word.Param;
                return;
            }
            break;
        default:
            break;
    }
    // Inside groups nested beyond the limit, a change would stick to the
    // deepest saved group for good, so formatting is ignored there, and a
    // table there is skipped since its group could not restore the
    // destination. A table outside every group could never be left again
    // and is not read either.
    if (m_overflowDepth > 0) {
        if (keyword == TKeyword::FontTable || keyword == TKeyword::ColorTable) {
            SkipGroup();
        }
        return;
    }
    const bool on = !word.HasParam || word.Param != 0;
    switch (keyword) {
        case TKeyword::Plain:
            m_state = TGroupState{.Destination = m_state.Destination, .UnicodeSkip = m_state.UnicodeSkip};
            break;
        case TKeyword::Font:
            m_state.Font = std::max(word.Param, -1LL);
            break;
        case TKeyword::FontSize:
            if (!word.HasParam) {
                m_state.HalfPoints = RTF_DEFAULT_HALF_POINTS;
            } else if (word.Param > 0) {
                m_state.HalfPoints = static_cast<int>(std::min<long long>(word.Param, kMaxHalfPoints));
            }
            break;
        case TKeyword::Bold:
            m_state.Bold = on;
            break;
        case TKeyword::Italic:
            m_state.Italic = on;
            break;
        case TKeyword::ColorIndex:
            m_state.Color = std::max(word.Param, -1LL);
            break;
        case TKeyword::UnicodeSkip:
            m_state.UnicodeSkip = std::max(word.Param, 0LL);
            break;
        case TKeyword::FontTable:
            if (!m_saved.empty()) {
                m_state.Destination = TDestination::FontTable;
                m_fontEntry = 0;
                m_fontName.clear();
            }
            break;
        case TKeyword::ColorTable:
            if (!m_saved.empty()) {
                m_state.Destination = TDestination::ColorTable;
                m_rgb = {};
                m_colorGiven = false;
            }
            break;
        default:
            break;
    }
}

void TRtfReader::OpenGroup() {
    m_skipUnits = 0;
    if (m_overflowDepth > 0 || m_saved.size() >= kMaxGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    m_saved.push_back(m_state);
}

void TRtfReader::CloseGroup() {
    m_skipUnits = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    // A closing brace without its opening one is ignored, and reading goes
    // on with the text after it.
    if (m_saved.empty()) {
        return;
    }
    if (m_state.Destination == TDestination::FontTable) {
        CommitFont();
    }
    m_state = m_saved.back();
    m_saved.pop_back();
}

// Passes over the rest of the current group, nested groups included, and
// closes it. Outside every group there is nothing to skip: skipping would
// drop the rest of the document.
void TRtfReader::SkipGroup() {
    if (m_saved.empty() && m_overflowDepth == 0) {
        return;
    }
    std::size_t depth = 1;
    while (!AtEnd()) {
        const char c = m_in[m_pos++];
        if (c == '\\') {
            if (!AtEnd() && IsLetter(m_in[m_pos])) {
                const TControlWord word = ReadWord();
                if (word.Name == "bin") {
                    SkipBinary(word.Param);
                }
            } else if (!AtEnd()) {
                ++m_pos;
            }
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                CloseGroup();
                return;
            }
        }
    }
}

void TRtfReader::SkipBinary(long long count) {
    if (count <= 0) {
        return;
    }
    m_pos += std::min(static_cast<std::size_t>(count), m_in.size() - m_pos);
}

// \u takes a signed 16-bit value; characters beyond the basic plane come as
// two of them, a surrogate pair.
void TRtfReader::Unicode(long long value) {
    if (value < 0 && value >= -32768) {
        value += 65536;
    }
    if (value < 0 || value > 0xFFFF) {
        Emit(kReplacement);
        return;
    }
    const auto unit = static_cast<char16_t>(value);
    if (QChar::isHighSurrogate(unit)) {
        FlushPendingSurrogate();
        m_pendingHigh = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (m_pendingHigh == 0) {
            Emit(kReplacement);
            return;
        }
        const char16_t pair[2] = {m_pendingHigh, unit};
        m_pendingHigh = 0;
        EmitText(QStringView(pair, 2));
        return;
    }
    Emit(unit);
}

// Hands one character of the input to the current destination. Control
// characters and the characters QTextDocument reserves for its own structure
// (frame markers, the object replacement) never reach the text.
void TRtfReader::Emit(char16_t c) {
    FlushPendingSurrogate();
    if (c < 0x20 && c != u'\t') {
        return;
    }
    if (c >= 0x7F && c < 0xA0) {
        return;
    }
    if (c == kParagraphMark) {
        if (m_state.Destination == TDestination::Text) {
            EndParagraph();
        }
        return;
    }
    if (c == 0xFFFC || c == 0xFFFE || c == 0xFFFF || (c >= 0xFDD0 && c <= 0xFDEF)) {
        c = kReplacement;
    }
    EmitText(QStringView(&c, 1));
}

void TRtfReader::EmitText(QStringView text) {
    switch (m_state.Destination) {
        case TDestination::Text: {
            TRtfFormat format = CurrentFormat();
            if (m_current.Runs.empty() || !(m_current.Runs.back().Format == format)) {
                m_current.Runs.push_back({QString(), std::move(format)});
            }
            m_current.Runs.back().Text.append(text);
            break;
        }
        case TDestination::FontTable:
            for (QChar c : text) {
                if (c == u';') {
                    CommitFont();
                } else if (c >= u' ' && m_fontName.size() <= kMaxFaceNameLength) {
                    m_fontName.append(c);
                }
            }
            break;
        case TDestination::ColorTable:
            for (QChar c : text) {
                if (c == u';') {
                    CommitColor();
                }
            }
            break;
    }
}

void TRtfReader::FlushPendingSurrogate() {
    if (m_pendingHigh == 0) {
        return;
    }
    m_pendingHigh = 0;
    const char16_t replacement = kReplacement;
    EmitText(QStringView(&replacement, 1));
}

void TRtfReader::EndParagraph() {
    FlushPendingSurrogate();
    m_current.MarkFormat = CurrentFormat();
    m_paragraphs.push_back(std::move(m_current));
    m_current = TRtfParagraph();
}

void TRtfReader::CommitFont() {
    const QString name = m_fontName.trimmed().left(kMaxFaceNameLength);
    m_fontName.clear();
    if (!name.isEmpty()) {
        m_fonts[m_fontEntry] = name;
    }
}

// An entry without components is the automatic colour, usually the first.
void TRtfReader::CommitColor() {
    m_colors.push_back(m_colorGiven ? QColor(m_rgb[0], m_rgb[1], m_rgb[2]) : QColor());
    m_rgb = {};
    m_colorGiven = false;
}

TRtfFormat TRtfReader::CurrentFormat() const {
    TRtfFormat format;
    auto font = m_fonts.find(m_state.Font >= 0 ? m_state.Font : m_defaultFont);
    if (font == m_fonts.end()) {
        font = m_fonts.find(m_defaultFont);
    }
    if (font != m_fonts.end()) {
        format.FontName = font->second;
    }
    format.HalfPoints = m_state.HalfPoints;
    format.Bold = m_state.Bold;
    format.Italic = m_state.Italic;
    if (m_state.Color >= 0 && static_cast<std::size_t>(m_state.Color) < m_colors.size()) {
        format.Color = m_colors[static_cast<std::size_t>(m_state.Color)];
    }
    return format;
}

namespace {

class TFamilyCache {
public:
    QString Family(const QString& fontName) {
        auto it = m_families.find(fontName);
        if (it == m_families.end()) {
            it = m_families.insert(fontName, TFont::SubstituteFamily(fontName.toStdString()));
        }
        return *it;
    }

private:
    QHash<QString, QString> m_families;
};

QTextCharFormat ToCharFormat(const TRtfFormat& format, TFamilyCache& families) {
    QTextCharFormat result;
    if (!format.FontName.isEmpty()) {
        result.setFontFamilies(QStringList{families.Family(format.FontName)});
    }
    result.setFontPointSize(format.HalfPoints / 2.0);
    result.setFontWeight(format.Bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.Italic);
    if (format.Color.isValid()) {
        result.setForeground(format.Color);
    }
    return result;
}

}  // namespace

QString TRtfParagraph::Text() const {
    QString text;
    for (const TRtfRun& run : Runs) {
        text += run.Text;
    }
    return text;
}

std::vector<TRtfParagraph> ParseRtf(const std::string& rtf) {
    return TRtfReader(rtf).Read();
}

void LoadRtf(const std::string& rtf, QTextDocument& doc) {
    const std::vector<TRtfParagraph> paragraphs = ParseRtf(rtf);
    TFamilyCache families;
    // A read-only view has nothing to undo, and recording the load would
    // only cost memory.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const TRtfParagraph& paragraph : paragraphs) {
        const QTextCharFormat mark = ToCharFormat(paragraph.MarkFormat, families);
        if (first) {
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(QTextBlockFormat(), mark);
        }
        for (const TRtfRun& run : paragraph.Runs) {
            cursor.insertText(run.Text, ToCharFormat(run.Format, families));
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

}  // namespace kx
