#pragma once

#include <string>

#include "platform/win_control.h"

class QPlainTextEdit;

namespace kx {

enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

// A multi-line plain text view (a Qt plain text edit). Lines are kept here
// and shown one paragraph each.
class TMemo : public TWinControl {
public:
    KX_CLASS(TMemo)

    explicit TMemo(TComponent* AOwner);

    const TStrings& Lines() const { return m_lines; }
    void SetLines(const TStrings& lines);
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    // Replaces line index; throws std::out_of_range for a line that does not
    // exist.
    void SetLine(int index, const std::string& text);
    void AddLine(const std::string& text);
    void Clear();
    // All lines joined with line breaks; SetText splits at line breaks.
    std::string Text() const;
    void SetText(const std::string& text);

    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);

    QPlainTextEdit* Editor() const;

protected:
    void ColorChanged() override;

private:
    void Refresh();

    TStrings m_lines;
    bool m_readOnly = false;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
};

}  // namespace kx
