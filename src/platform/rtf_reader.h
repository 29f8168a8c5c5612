#pragma once

// A reader for the small subset of RTF that the program's rich-text views
// show: groups, the font and colour tables, bold, italic, font size, colour,
// paragraphs and the usual special characters. Everything else is skipped
// the way RTF readers skip what they do not know. The reader accepts any
// bytes: malformed input yields whatever text could be read, never a crash,
// and the work is linear in the input's length.

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QString>

class QTextDocument;

namespace kx {

// 12 points, the size of text that names none.
constexpr int RTF_DEFAULT_HALF_POINTS = 24;

// The character formatting of a piece of text, resolved through the
// document's font and colour tables.
struct TRtfFormat {
    // The face name from the font table (a Windows name such as "Verdana");
    // empty when the document names no font.
    QString FontName;
    int HalfPoints = RTF_DEFAULT_HALF_POINTS;
    bool Bold = false;
    bool Italic = false;
    // Invalid when the text has the automatic colour (no \cf, or a colour
    // table entry without components).
    QColor Color;

    friend bool operator==(const TRtfFormat&, const TRtfFormat&) = default;
};

// Text of one formatting, within one paragraph.
struct TRtfRun {
    QString Text;
    TRtfFormat Format;
};

struct TRtfParagraph {
    std::vector<TRtfRun> Runs;
    // The formatting in force at the paragraph mark; it gives an empty
    // paragraph its height.
    TRtfFormat MarkFormat;

    QString Text() const;
};

// Reads an RTF document of code page 1252 into paragraphs. There is always
// at least one paragraph; each \par adds one.
std::vector<TRtfParagraph> ParseRtf(const std::string& rtf);

// Replaces the content of doc with the RTF document: one block per
// paragraph, font sizes in points, face names mapped to the families this
// system has.
void LoadRtf(const std::string& rtf, QTextDocument& doc);

// The reading behind ParseRtf, one pass over the bytes without recursion.
class TRtfReader {
public:
    // The reader keeps a reference to rtf, which must outlive it.
    explicit TRtfReader(const std::string& rtf) : m_in(rtf) {}

    std::vector<TRtfParagraph> Read();

private:
    enum class TDestination { Text, FontTable, ColorTable };

    // What a group saves and its end restores.
    struct TGroupState {
        TDestination Destination = TDestination::Text;
        // -1 stands for the document's default font.
        long long Font = -1;
        int HalfPoints = RTF_DEFAULT_HALF_POINTS;
        bool Bold = false;
        bool Italic = false;
        // -1 stands for the automatic colour.
        long long Color = -1;
        long long UnicodeSkip = 1;
    };

    struct TControlWord {
        // Empty for a word longer than any RTF word.
        std::string_view Name;
        bool HasParam = false;
        long long Param = 0;
    };

    bool AtEnd() const { return m_pos >= m_in.size(); }
    TControlWord ReadWord();
    void ReadControl();
    void Word(const TControlWord& word);
    void OpenGroup();
    void CloseGroup();
    void SkipGroup();
    void SkipBinary(long long count);

    void Unicode(long long value);
    void Emit(char16_t c);
    void EmitText(QStringView text);
    void FlushPendingSurrogate();
    void EndParagraph();
    void CommitFont();
    void CommitColor();
    TRtfFormat CurrentFormat() const;

    const std::string& m_in;
    std::size_t m_pos = 0;

    TGroupState m_state;
    std::vector<TGroupState> m_saved;
    // Groups opened beyond the depth limit, which share the state of the
    // deepest saved one.
    std::size_t m_overflowDepth = 0;

    // Fallback characters still to drop after a \u.
    long long m_skipUnits = 0;
    // A high surrogate from \u waiting for its low half.
    char16_t m_pendingHigh = 0;

    long long m_defaultFont = 0;
    std::map<long long, QString> m_fonts;
    long long m_fontEntry = 0;
    QString m_fontName;

    std::vector<QColor> m_colors;
    std::array<int, 3> m_rgb = {};
    bool m_colorGiven = false;

    std::vector<TRtfParagraph> m_paragraphs;
    TRtfParagraph m_current;
};

}  // namespace kx
