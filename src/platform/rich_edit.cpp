#include "platform/rich_edit.h"

#include "platform/qt_bridge.h"

#include <QTextDocument>
#include <QTextEdit>

#include "platform/rtf_reader.h"

namespace kx {

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner) {
    auto* e = new QTextEdit();
    // The content only ever comes from LoadRtf; pasted or dropped rich text
    // would bypass our reader.
    e->setAcceptRichText(false);
    e->setUndoRedoEnabled(false);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setFrameShape(QFrame::StyledPanel);
    e->setFocusPolicy(Qt::StrongFocus);
    m_tabStop = true;
    m_color = clWindow;
    m_width = 185;
    m_height = 89;
    SetWidget(e);
}

QTextEdit* TRichEdit::Editor() const {
    return static_cast<QTextEdit*>(m_widget.data());
}

void TRichEdit::LoadRtf(const std::string& rtf) {
    kx::LoadRtf(rtf, *Editor()->document());
    Editor()->moveCursor(QTextCursor::Start);
}

std::string TRichEdit::Text() const {
    QString text = Editor()->document()->toPlainText();
    text.replace(QChar('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

void TRichEdit::SetReadOnly(bool v) {
    if (v == m_readOnly) {
        return;
    }
    m_readOnly = v;
    Editor()->setReadOnly(v);
    // A read-only view still takes the focus and lets the keyboard scroll
    // and select, as the desktop's own rich-text control does.
    if (v) {
        Editor()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    Editor()->setFocusPolicy(Qt::StrongFocus);
}

void TRichEdit::SetScrollBars(TScrollStyle s) {
    if (s == m_scrollBars) {
        return;
    }
    m_scrollBars = s;
    kx::SetScrollBars(Editor(), s == ssVertical || s == ssBoth, s == ssHorizontal || s == ssBoth);
}

void TRichEdit::SetWordWrap(bool v) {
    if (v == m_wordWrap) {
        return;
    }
    m_wordWrap = v;
    Editor()->setLineWrapMode(v ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TRichEdit::ColorChanged() {
    SetBaseColor(Editor(), m_color);
}

}  // namespace kx
