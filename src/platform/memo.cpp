#include "platform/memo.h"

#include "platform/color_contrast.h"
#include "platform/qt_bridge.h"

#include <stdexcept>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace kx {

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
    auto* e = new QPlainTextEdit();
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setFocusPolicy(Qt::StrongFocus);
    e->setFrameShape(QFrame::StyledPanel);
    m_tabStop = true;
    m_color = clWindow;
    m_width = 185;
    m_height = 89;
    SetWidget(e);
    ColorChanged();
    FollowPaletteChanges(e, [this] { ColorChanged(); });
}

QPlainTextEdit* TMemo::Editor() const {
    return static_cast<QPlainTextEdit*>(m_widget.data());
}

void TMemo::Refresh() {
    if (m_widget == nullptr) {
        return;
    }
    QStringList list;
    list.reserve(static_cast<int>(m_lines.size()));
    for (const std::string& l : m_lines) {
        list << QString::fromStdString(l);
    }
    Editor()->setPlainText(list.join('\n'));
}

void TMemo::SetLines(const TStrings& lines) {
    m_lines = lines;
    Refresh();
}

void TMemo::SetLine(int index, const std::string& text) {
    if (index < 0 || index >= LineCount()) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    }
    m_lines[static_cast<std::size_t>(index)] = text;
    Refresh();
}

void TMemo::AddLine(const std::string& text) {
    if (m_widget == nullptr) {
        m_lines.push_back(text);
        return;
    }
    // Only the new paragraph is added to the view, so that filling a memo
    // line by line takes time in proportion to its length; re-setting the
    // whole text each time would make it quadratic. The first line goes into
    // the document's one empty paragraph. When the view no longer holds a
    // paragraph per line (the user typed into it, or a line holds a line
    // break of its own), the whole text is set as before.
    QTextDocument* document = Editor()->document();
    const bool inStep =
        m_lines.empty() ? document->isEmpty() : document->blockCount() == static_cast<int>(m_lines.size());
    m_lines.push_back(text);
    const QString added = QString::fromStdString(text);
    if (!inStep || added.contains(QLatin1Char('\n')) || added.contains(QLatin1Char('\r'))) {
        Refresh();
        return;
    }
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    if (m_lines.size() > 1) {
        cursor.insertBlock();
    }
    cursor.insertText(added);
}

void TMemo::Clear() {
    m_lines.clear();
    Refresh();
}

std::string TMemo::Text() const {
    std::string out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) {
            out += "\r\n";
        }
        out += m_lines[i];
    }
    return out;
}

void TMemo::SetText(const std::string& text) {
    m_lines.clear();
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            m_lines.push_back(line);
            line.clear();
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += ch;
        }
    }
    if (!line.empty()) {
        m_lines.push_back(line);
    }
    Refresh();
}

void TMemo::SetReadOnly(bool v) {
    if (v == m_readOnly)
        return;
    m_readOnly = v;
    Editor()->setReadOnly(v);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    if (s == m_scrollBars)
        return;
    m_scrollBars = s;
    kx::SetScrollBars(Editor(), s == ssVertical || s == ssBoth, s == ssHorizontal || s == ssBoth);
}

void TMemo::SetWordWrap(bool v) {
    if (v == m_wordWrap)
        return;
    m_wordWrap = v;
    Editor()->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::ColorChanged() {
    SetBaseColor(Editor(), m_color);
}

}  // namespace kx
