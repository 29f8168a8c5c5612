#pragma once

#include <string>

#include "platform/memo.h"
#include "platform/win_control.h"

class QTextEdit;

namespace kx {

// A rich-text view (a Qt text edit) that shows an RTF document. The document
// is read by the program's own RTF reader, so fonts, sizes, bold and colours
// come out the same on every system. A coloured run that would not read on
// the view's background (yellow on light grey, red on a dark theme's base)
// shows its colour as a marker behind black or white text instead.
class TRichEdit : public TWinControl {
public:
    KX_CLASS(TRichEdit)

    explicit TRichEdit(TComponent* AOwner);

    // Replaces the content with the RTF document. Malformed input shows
    // whatever text could be read.
    void LoadRtf(const std::string& rtf);

    // The shown text without formatting, paragraphs separated by CR LF.
    std::string Text() const;

    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);

    QTextEdit* Editor() const;

protected:
    void ColorChanged() override;

private:
    // Coloured runs that would not read on the view's background.
    void KeepRunsReadable();

    bool m_readOnly = false;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
};

}  // namespace kx
