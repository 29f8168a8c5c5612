// Every text of every window reads at 4.5:1 or better against what lies
// behind it, under a light and a dark desktop palette, and after the desktop
// turns dark while the windows are open. Measured on the rendered windows:
// in each text's rectangle the most common colour is the background and the
// colour farthest from it the text.

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextEdit>

#include "app/main_form.h"
#include "main_window_fixture.h"
#include "platform/button.h"
#include "platform/label.h"
#include "platform/memo.h"
#include "platform/radio_button.h"
#include "platform/rich_edit.h"
#include "platform/status_bar.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/help_form.h"
#include "setup/pci_form.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"
#include "setup/setup_supporter.h"
#include "setup/tech_form.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

// The guidelines' relative luminance, written out here rather than taken
// from the program, so that a fault in the program's formula cannot hide.
double Luminance(QRgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct TReading {
    double Contrast = 1;
    QRgb Background = 0;
    QRgb Text = 0;
};

// The background is the colour most pixels of r show; the text is the colour
// that differs most from it (the glyphs' cores, past their smoothed edges).
TReading Read(const QImage& shot, const QRect& r) {
    std::map<QRgb, int> counts;
    const QRect area = r.intersected(shot.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[shot.pixel(x, y) | 0xFF000000u];
        }
    }
    TReading reading;
    if (counts.empty()) {
        return reading;
    }
    reading.Background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                             return a.second < b.second;
                         })->first;
    reading.Text = reading.Background;
    for (const auto& [colour, n] : counts) {
        if (Contrast(colour, reading.Background) > reading.Contrast) {
            reading.Contrast = Contrast(colour, reading.Background);
            reading.Text = colour;
        }
    }
    return reading;
}

std::string Hex(QRgb c) {
    char s[8];
    std::snprintf(s, sizeof s, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return s;
}

// The colours of the qt6ct "darker" scheme, in the order of QPalette's roles.
QPalette DarkPalette() {
    const char* roles[] = {"#ffffff", "#424245", "#979797", "#5e5c5b", "#302f2e", "#4a4947", "#ffffff",
                           "#ffffff", "#ffffff", "#3d3d3d", "#222020", "#e7e4e0", "#12608a", "#f9f9f9",
                           "#0986d3", "#a70b06", "#5c5b5a", "#ffffff", "#3f3f36", "#ffffff"};
    QPalette p;
    for (int i = 0; i < static_cast<int>(std::size(roles)); ++i) {
        const auto role = static_cast<QPalette::ColorRole>(i);
        p.setColor(QPalette::Active, role, QColor(roles[i]));
        p.setColor(QPalette::Inactive, role, QColor(roles[i]));
        p.setColor(QPalette::Disabled, role, QColor(roles[i]));
    }
    for (auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText}) {
        p.setColor(QPalette::Disabled, role, QColor("#808080"));
    }
    return p;
}

enum class TScheme { Light, Dark, TurnedDark };

struct TSchemeCase {
    const char* Name;
    TScheme Scheme;
};

void PrintTo(const TSchemeCase& c, std::ostream* os) {
    *os << c.Name;
}

// What to read: a rectangle of a top-level window.
struct TTextItem {
    std::string Name;
    QWidget* Window = nullptr;
    QRect Rect;
};

class ContrastTest : public test::AppFixture, public ::testing::WithParamInterface<TSchemeCase> {
protected:
    void SetUp() override {
        m_light = QApplication::palette();
        if (GetParam().Scheme == TScheme::Dark) {
            QApplication::setPalette(DarkPalette());
        }
        AppFixture::SetUp();
        App().CreateForm(form);
        // A card list callback, so that the supporter also builds the cards window.
        form->SetSup->OnGetCardString = [](TObject*, std::int32_t i) { return "Card " + std::to_string(i); };
        form->Show();
        form->SetWindowState(wsNormal);
        form->SetBounds(0, 0, 1032, 746);
        Pump();
        test::WaitForHelpWindow(form, /*close=*/false);
    }
    void TearDown() override {
        AppFixture::TearDown();
        QApplication::setPalette(m_light);
    }

    void TurnDarkIfAsked() {
        if (GetParam().Scheme == TScheme::TurnedDark) {
            QApplication::setPalette(DarkPalette());
            Pump();
        }
    }

    static QRect InWindow(QWidget* w, QRect r) { return r.translated(w->mapTo(w->window(), QPoint(0, 0))); }
    static TTextItem OfWidget(const std::string& name, QWidget* w, QRect r) {
        return {name, w->window(), InWindow(w, r)};
    }
    static TTextItem OfLabel(const std::string& name, TLabel* l) {
        const TRect b = l->BoundsRect();
        return OfWidget(name, l->Parent()->ClientWidget(), QRect(b.Left, b.Top, b.Width(), b.Height()));
    }
    static TTextItem OfView(const std::string& name, QAbstractScrollArea* view) {
        return OfWidget(name, view->viewport(), view->viewport()->rect());
    }
    // A push button's caption, inside its frame.
    static TTextItem OfButton(const std::string& name, TButton* b) {
        return OfWidget(name, b->Widget(), b->Widget()->rect().adjusted(4, 4, -4, -4));
    }
    // A radio button's caption, right of its indicator.
    static TTextItem OfRadio(const std::string& name, TRadioButton* r) {
        QStyle* s = r->Widget()->style();
        const int skip = s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, r->Widget()) +
                         s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, r->Widget());
        return OfWidget(name, r->Widget(), r->Widget()->rect().adjusted(skip, 0, 0, 0));
    }

    // Reads every item, each on a fresh picture of its window, and remembers the lowest contrast.
    void ExpectReadable(const std::vector<TTextItem>& items) {
        for (const TTextItem& item : items) {
            const QImage shot = item.Window->grab().toImage();
            const TReading r = Read(shot, item.Rect);
            EXPECT_GE(r.Contrast, 4.5) << GetParam().Name << ": " << item.Name << " is " << Hex(r.Text)
                                       << " on " << Hex(r.Background);
            if (r.Contrast < m_lowest) {
                m_lowest = r.Contrast;
                m_lowestName = item.Name;
            }
        }
    }

    // The words of the help document that have a colour of their own, each scrolled into view and read
    // on the first line it occupies.
    void ExpectColouredWordsReadable(QTextEdit* edit) {
        QTextDocument* doc = edit->document();
        const QColor plain = doc->begin().begin().fragment().charFormat().foreground().color();
        int seen = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const QTextCharFormat fmt = f.charFormat();
                if (fmt.foreground().color() == plain && !fmt.hasProperty(QTextFormat::BackgroundBrush)) {
                    continue;
                }
                QTextCursor at(doc);
                at.setPosition(f.position());
                edit->setTextCursor(at);
                edit->ensureCursorVisible();
                Pump();
                const QRect first = edit->cursorRect(at);
                int end = f.position() + 1;
                for (; end < f.position() + f.length(); ++end) {
                    QTextCursor c(doc);
                    c.setPosition(end + 1);
                    if (edit->cursorRect(c).top() != first.top()) {
                        break;
                    }
                }
                QTextCursor last(doc);
                last.setPosition(end);
                const QRect word(first.topLeft(), QPoint(edit->cursorRect(last).left(), first.bottom()));
                ExpectReadable(
                    {OfWidget("help word \"" + f.text().toStdString() + "\"", edit->viewport(), word)});
                ++seen;
            }
        }
        EXPECT_GE(seen, 6) << "the help document's coloured words";
    }

    void Report() {
        std::cout << "[ contrast ] " << GetParam().Name << ": lowest " << m_lowest << " (" << m_lowestName
                  << ")\n";
        RecordProperty("lowest_contrast", std::to_string(m_lowest));
    }

    TMainForm* form = nullptr;
    QPalette m_light;
    double m_lowest = 21;
    std::string m_lowestName;
};

TEST_P(ContrastTest, EveryTextReadsOnItsBackground) {
    TSetupSupporter* sup = form->SetSup;
    THelpForm* help = sup->HelpForm();
    TTechForm* tech = sup->TechForm();
    TPCIForm* cards = sup->PCIForm();
    ASSERT_NE(cards, nullptr);
    form->Howtousethisprogram1Click(nullptr);
    form->TechnicalSupport1Click(nullptr);
    cards->Show();
    Pump();
    TurnDarkIfAsked();

    ExpectReadable({
        OfLabel("main window header", sup->HeaderLabel()),
        OfLabel("help window title", help->HelpLabel),
        OfView("help text", help->HelpRich->Editor()),
        OfButton("help Start button", help->StartButton),
        OfView("support text", tech->TechMemo->Editor()),
        OfButton("support Close button", tech->CloseButton),
        OfView("cards text", cards->PCIMemo->Editor()),
    });
    ExpectColouredWordsReadable(help->HelpRich->Editor());

    TBoardHighlight* const rings[] = {
        form->PowerHighlightSel, form->USBHighlight,    form->PowerHighlightJack, form->LedHighlight,
        form->InputHighlight0,   form->FilterHighlight, form->InputHighlight1,    form->InputHighlight};
    // The other windows go, so that they cannot cover the circles the pointer visits.
    help->Hide();
    tech->Hide();
    cards->Hide();
    const TPoint origin = form->BoardImage1->ClientOrigin();
    std::vector<TPopupForm*> seen;
    for (TBoardHighlight* ring : rings) {
        PointerAt(origin.X + ring->Left() + ring->Width() / 2, origin.Y + ring->Top() + ring->Height() / 2);
        // Linked circles share the popup the first of them built.
        TPopupForm* popup = nullptr;
        ring->ForEachLinked([&popup](TBoardHighlight* c) {
            if (popup == nullptr) {
                popup = c->Popup();
            }
        });
        ASSERT_NE(popup, nullptr) << ring->Name();
        if (std::find(seen.begin(), seen.end(), popup) != seen.end()) {
            continue;
        }
        seen.push_back(popup);
        ASSERT_TRUE(popup->Visible()) << ring->Name();
        popup->PopupStatus->SetPanelText(0, "Ready");
        Pump();
        const std::string name = ring->Name() + " popup ";
        std::vector<TTextItem> items = {
            OfView(name + "text", popup->StatusMemo->Editor()),
            OfButton(name + "Done button", popup->DoneButton),
            OfWidget(name + "status bar", popup->PopupStatus->Bar()->findChild<QLabel*>(),
                     popup->PopupStatus->Bar()->findChild<QLabel*>()->rect()),
        };
        if (ring == form->PowerHighlightSel) {
            ASSERT_EQ(form->PowerPanel->Parent(), popup);
            items.push_back(OfRadio(name + "\"USB Powered\"", form->BusPowerRadio));
            items.push_back(OfRadio(name + "\"External Powered\"", form->ExtPowerRadio));
            items.push_back(OfLabel(name + "VEXT", form->Label1));
            items.push_back(OfLabel(name + "VUSB", form->Label2));
        }
        ExpectReadable(items);
    }
    Report();
}

INSTANTIATE_TEST_SUITE_P(Palettes, ContrastTest,
                         ::testing::Values(TSchemeCase{"light", TScheme::Light},
                                           TSchemeCase{"dark", TScheme::Dark},
                                           TSchemeCase{"turnedDark", TScheme::TurnedDark}),
                         [](const ::testing::TestParamInfo<TSchemeCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kx
