#include "platform/rich_edit.h"

#include "platform/qt_bridge.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <vector>

#include "platform/color_contrast.h"
#include "platform/rtf_reader.h"

namespace kx {

namespace {

// The colour the document gave a run whose look we changed, kept so that a
// new background or palette can decide afresh.
constexpr int kGivenColorProperty = QTextFormat::UserProperty + 1;

}  // namespace

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
    ColorChanged();
    FollowPaletteChanges(e, [this] { ColorChanged(); });
}

QTextEdit* TRichEdit::Editor() const {
    return static_cast<QTextEdit*>(m_widget.data());
}

void TRichEdit::LoadRtf(const std::string& rtf) {
    kx::LoadRtf(rtf, *Editor()->document());
    KeepRunsReadable();
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
    KeepRunsReadable();
}

void TRichEdit::KeepRunsReadable() {
    QTextDocument* doc = Editor()->document();
    const TColor base = ColorToRGB(m_color);
    struct TRun {
        int Start = 0;
        int End = 0;
        QTextCharFormat Format;
    };
    std::vector<TRun> changes;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            QTextCharFormat format = f.charFormat();
            QColor given = format.colorProperty(kGivenColorProperty);
            if (!given.isValid()) {
                // A run without a colour of its own takes the view's text colour, which is kept
                // readable on the background already.
                if (format.foreground().style() == Qt::NoBrush) {
                    continue;
                }
                given = format.foreground().color();
            }
            const TColor colour = RGB(given.red(), given.green(), given.blue());
            if (ContrastRatio(colour, base) >= kMinTextContrast) {
                if (!format.hasProperty(kGivenColorProperty)) {
                    continue;
                }
                format.setForeground(given);
                format.clearBackground();
            } else {
                // The colour stays as the cue it is meant to be, as a marker, with text that reads on it.
                const bool dark = ContrastRatio(clBlack, colour) >= ContrastRatio(clWhite, colour);
                format.setBackground(given);
                format.setForeground(dark ? QColor(Qt::black) : QColor(Qt::white));
            }
            format.setProperty(kGivenColorProperty, given);
            changes.push_back({f.position(), f.position() + f.length(), format});
        }
    }
    // Applied after the walk: changing formats merges and splits the fragments being walked.
    QTextCursor cursor(doc);
    for (const TRun& run : changes) {
        cursor.setPosition(run.Start);
        cursor.setPosition(run.End, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.Format);
    }
}

}  // namespace kx
