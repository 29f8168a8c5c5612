#include "setup/setup_supporter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "driver/quordev.h"
#include "platform/application.h"
#include "platform/description.h"
#include "platform/description_props.h"
#include "platform/menus.h"
#include "platform/message_window.h"
#include "platform/rich_edit.h"
#include "platform/std_controls.h"
#include "setup/help_form.h"
#include "setup/pci_form.h"
#include "setup/tech_form.h"

namespace kx {

namespace {

constexpr TColor kHelpBackground = 0xDDDDDD;
constexpr int kStartButtonWidth = 173;
constexpr int kCloseButtonWidth = 73;

// The screen the help window's layout was made for; larger screens enlarge
// it by the smaller of the two ratios.
constexpr double kDesignScreenWidth = 800.0;
constexpr double kDesignScreenHeight = 450.0;

void SetFontOf(TControl* control, const char* name, int points, TFontStyles style, TColor color) {
    TFont font;
    font.Assign(control->Font());
    font.SetName(name);
    font.SetSize(points);
    font.SetStyle(style);
    font.SetColor(color);
    control->SetFont(font);
}

// The first maxCharacters characters of a UTF-8 text; a character is never
// split, however long its encoding.
std::string CutToCharacters(const std::string& text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Every byte that is not a continuation byte starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (characters == maxCharacters) {
                return text.substr(0, i);
            }
            ++characters;
        }
    }
    return text;
}

// A real value to the nearest integer, a half to the even neighbour
// (nearbyint follows the default rounding mode, which is exactly that).
int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

TSetupSupporter::TSetupSupporter(TComponent* AOwner)
    : TComponent(AOwner),
      m_timerWindow(std::make_unique<TMessageWindow>([this](TMessage& m) { WindowProc(m); })) {}

TSetupSupporter::~TSetupSupporter() {
    Destroying();
    m_calibrating = false;
    try {
        UpdateTimer();
    } catch (const EOutOfResources&) {
        // The timer window goes right after, and with it any timer; a refused
        // one changes nothing here.
    }
    m_timerWindow.reset();
}

void TSetupSupporter::Notification(TComponent* comp, TOperation op) {
    TComponent::Notification(comp, op);
    if (op != TOperation::opRemove) {
        return;
    }
    if (comp == m_headerLabel)
        m_headerLabel = nullptr;
    if (comp == m_helpForm)
        m_helpForm = nullptr;
    if (comp == m_techForm)
        m_techForm = nullptr;
    if (comp == m_pciForm)
        m_pciForm = nullptr;
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent e) {
    m_onBeginCalib = std::move(e);
    UpdateTimer();
}

void TSetupSupporter::IdleStart(TObject* Sender, bool&) {
    // Removed first, so that a build that fails part-way is not tried again.
    if (auto* app = dynamic_cast<TApplication*>(Sender)) {
        app->OnIdle = nullptr;
    } else if (Application != nullptr) {
        Application->OnIdle = nullptr;
    }
    BuildWindows();
}

void TSetupSupporter::BuildWindows() {
    if (InState(csDesigning)) {
        return;
    }
    const std::string cardName = CardName();
    TForm* mainForm = Application != nullptr ? Application->MainForm() : nullptr;
    if (mainForm == nullptr) {
        throw std::runtime_error("The setup supporter cannot build its windows without a main window");
    }
    BuildHeaderLabel(mainForm);
    BuildHelpForm(mainForm);
    BuildTechForm(mainForm);

    bool cardFound = true;
    if (OnGetCardString) {
        AddCardsMenuEntry(mainForm, cardName);
        BuildCardsWindow(mainForm, cardName);
        cardFound = ListCards();
    }

    if (cardFound) {
        m_headerLabel->SetCaption(cardName + (m_bSeries ? " Series" : "") + " Settings Program");
    } else {
        m_pciForm->PCIMemo->SetText("No Card Found");
        m_headerLabel->SetCaption("No " + cardName + (m_bSeries ? " Series Card" : "") + " Found");
    }

    m_helpPending = true;
    UpdateTimer();
}

void TSetupSupporter::BuildHeaderLabel(TForm* mainForm) {
    auto* label = new TLabel(mainForm);
    m_headerLabel = label;
    FreeNotification(label);
    label->SetName("HeaderLabel");
    label->SetParent(mainForm);
    label->SetAlign(alTop);
    label->SetAlignment(taCenter);
    SetFontOf(label, "Tahoma", 18, fsBold, clBlack);
}

void TSetupSupporter::BuildHelpForm(TForm* mainForm) {
    auto* form = new THelpForm(mainForm);
    m_helpForm = form;
    FreeNotification(form);
    form->SetName("HelpForm");
    form->SetCaption("Instructions for Settings utility");
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poMainFormCenter);

    auto* label = new TLabel(form);
    form->HelpLabel = label;
    label->SetName("HelpLabel");
    label->SetParent(form);
    label->SetAlign(alTop);
    label->SetAlignment(taCenter);
    label->SetCaption("How to use this program");
    SetFontOf(label, "Verdana", 12, fsBold, label->Font().Color());

    auto* rich = new TRichEdit(form);
    form->HelpRich = rich;
    rich->SetName("HelpRich");
    rich->SetParent(form);
    rich->SetBounds(0, 24, 305, 73);
    rich->SetReadOnly(true);
    rich->SetScrollBars(ssVertical);
    rich->SetColor(kHelpBackground);
    rich->LoadRtf(HelpDocument());

    auto* start = new TButton(form);
    form->StartButton = start;
    start->SetName("StartButton");
    start->SetParent(form);
    start->SetCaption("Start");
    start->SetBounds(start->Left(), 105, kStartButtonWidth, 25);
    start->SetDefault(true);
    start->SetCancel(true);
    start->SetTabOrder(0);
    start->OnClick = [form](TObject* sender) { form->StartButtonClick(sender); };

    form->SetClientWidth(rich->Width());
    form->FitToChildren();
    form->SetClientHeight(form->ClientHeight() + 8);
    rich->SetAnchors(AnchorsAll);
    start->SetLeft((form->ClientWidth() - kStartButtonWidth) / 2);
    start->SetAnchors(akBottom);

    // The window is only ever enlarged, never shrunk below its design size.
    double s = std::min(Screen->Height() / kDesignScreenHeight, Screen->Width() / kDesignScreenWidth);
    if (s < 1) {
        s = 1;
    }
    const int width = RoundHalfEven(form->ClientWidth() * s);
    const int height = RoundHalfEven(form->ClientHeight() * s);
    form->SetClientSize(width, height);
}

void TSetupSupporter::BuildTechForm(TForm* mainForm) {
    auto* form = new TTechForm(mainForm);
    m_techForm = form;
    FreeNotification(form);
    form->SetName("TechForm");
    form->SetCaption("Technical Support");
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poDefaultPosOnly);

    auto* memo = new TMemo(form);
    form->TechMemo = memo;
    memo->SetName("TechMemo");
    memo->SetParent(form);
    memo->SetBounds(8, 8, 305, 89);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    memo->SetText(SupportText());

    auto* close = new TButton(form);
    form->CloseButton = close;
    close->SetName("CloseButton");
    close->SetParent(form);
    close->SetCaption("Close");
    close->SetBounds(165, 105, kCloseButtonWidth, 25);
    close->SetCancel(true);
    close->SetTabOrder(0);
    close->OnClick = [this](TObject* sender) { CloseButtonClick(sender); };

    form->FitToChildren();
    memo->SetAnchors(AnchorsAll);
    close->SetLeft((form->ClientWidth() - kCloseButtonWidth) / 2);
    close->SetAnchors(akBottom);
}

void TSetupSupporter::AddCardsMenuEntry(TForm* mainForm, const std::string& cardName) {
    TMainMenu* menu = mainForm->Menu();
    if (menu == nullptr) {
        return;
    }
    TMenuItem* items = menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* file = items->Items(i);
        if (file->Caption() != "&File") {
            continue;
        }
        auto* entry = new TMenuItem(file);
        entry->SetName("DisplayPCI");
        entry->SetCaption("Display " + cardName + " Cards Installed");
        entry->OnClick = [this](TObject* sender) { ShowCardsWindow(sender); };
        file->Insert(0, entry);
        return;
    }
}

void TSetupSupporter::BuildCardsWindow(TForm* mainForm, const std::string& cardName) {
    auto* form = new TPCIForm(mainForm);
    m_pciForm = form;
    FreeNotification(form);
    form->SetName("PCIForm");
    form->SetCaption(cardName + " Cards installed");
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poDefaultPosOnly);
    // The Close button is placed by the outer width the window has before it
    // is shown, whatever frame the window system then gives it.
    const int initialWidth = form->Width();
    form->Show();

    auto* memo = new TMemo(form);
    form->PCIMemo = memo;
    memo->SetName("PCIMemo");
    memo->SetParent(form);
    memo->SetBounds(8, 8, 305, 89);
    SetFontOf(memo, "Tahoma", 10, fsBold, memo->Font().Color());
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);

    auto* close = new TButton(form);
    form->CloseButton = close;
    close->SetName("CloseButton");
    close->SetParent(form);
    close->SetBounds((initialWidth - kCloseButtonWidth) / 2, 105, kCloseButtonWidth, 25);
    close->SetCaption("Close");
    close->SetCancel(true);
    close->SetTabOrder(0);
    close->OnClick = [this](TObject* sender) { CloseButtonClick(sender); };

    form->FitToChildren();
    memo->SetAnchors(AnchorsAll);
    close->SetAnchors(akBottom);
}

bool TSetupSupporter::ListCards() {
    const std::int32_t count = DriverCardCount();
    if (count <= 0) {
        return false;
    }
    TMemo* memo = m_pciForm->PCIMemo;
    memo->Clear();
    bool found = false;
    // The driver's count is believed only as far as a window can show: a
    // broken driver that reports two billion cards must not keep the user
    // interface busy for minutes.
    const std::int32_t listed = std::min(count, MaxListedCards);
    for (std::int32_t i = 0; i < listed; ++i) {
        // Checked anew: the callback may be taken away by an earlier call.
        if (!OnGetCardString) {
            break;
        }
        const std::string line = OnGetCardString(this, i);
        if (!line.empty()) {
            memo->AddLine(CutToCharacters(line, MaxCardStringLength));
            found = true;
        }
    }
    if (found && count > listed) {
        const std::int32_t more = count - listed;
        memo->AddLine("... and " + std::to_string(more) + (more == 1 ? " more card" : " more cards") +
                      " not listed");
    }
    return found;
}

void TSetupSupporter::ShowCardsWindow(TObject*) {
    if (m_pciForm != nullptr) {
        m_pciForm->Show();
    }
}

void TSetupSupporter::CloseButtonClick(TObject* Sender) {
    auto* button = dynamic_cast<TControl*>(Sender);
    if (button != nullptr && button->Parent() != nullptr) {
        button->Parent()->Hide();
    }
}

std::string TSetupSupporter::HelpDocument() const {
    const std::string crlf = "\r\n";
    const std::string cardName = CardName();
    const std::string series = m_bSeries ? " Series" : "";
    std::string doc;
    doc +=
        R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}})"
        R"({\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;\red255\green64\blue64;})"
        R"(\viewkind4\uc1\pard\f0\fs32\cf0)" +
        crlf;
    doc += R"({\b )" + m_companyName + " " + cardName + series + R"( Settings Program}\par\par\fs24)" + crlf;
    doc +=
        "This program will help you configure the option jumpers and settings associated with this product. "
        R"(You should have the product in-hand when first using this program.\par\par)" +
        crlf;
    doc +=
        R"({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and switches.\par\par)" +
        crlf;
    doc += R"({\cf2\fs24\b Blue circles} are informational only. )"
           R"(They provide information on standard and optional features of the product family.\par\par)" +
           crlf;
    doc += R"({\cf3\fs24\b Red circles} handle calibration and types of configuration that require actually )"
           "controlling the hardware device. Run this settings program again once the card is installed. "
           R"(Repeat the {\cf1 setup circles} (using the same settings) to configure this program, )"
           R"(then perform the {\cf3 calibration circles}.\par\par)" +
           crlf;
    doc +=
        "Mouse over the highlight circles to see configuration or information popups for "
        R"({\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. )"
        "Click a highlight circle to make its popup remain on-screen. "
        R"(You can have all or as many of these popups onscreen at the same time as you desire.\par\par)" +
        crlf;
    if (m_multiPort) {
        // Two blanks after \emdash: the first ends the control word, the
        // second is text.
        doc += R"({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  )"
               "the configuration options for each port are handled identically; "
               "this program only shows the setup once, but you need to perform this setup for each group "
               R"(of options on your device.\par\par)" +
               crlf;
    }
    if (OnGetCardString) {
        doc += "To see a list of " + cardName + " cards installed, click \"Display " + cardName +
               R"( Cards Installed" under the File menu.\par\par)" + crlf;
    }
    doc += "}";
    return doc;
}

std::string TSetupSupporter::SupportText() const {
    return "There are several ways to get technical support. First and fastest is to skim the relevant "
           "sections "
           "of the manual. However, some questions require personal assistance, and " +
           m_companyName + " stands ready to provide that help. You can call us " + m_callHow +
           " for any of your product questions.\r\n\r\n"
           "In order to provide the best and fastest support possible, we ask that you be at your computer "
           "when "
           "you call, and have the " +
           m_companyName + " product manual and Software Master CD at hand.";
}

void TSetupSupporter::UpdateTimer() {
    m_timerWindow->KillTimer(TimerNumber);
    if (m_calibrating || m_helpPending) {
        if (!m_timerWindow->SetTimer(TimerNumber, TimerIntervalMs)) {
            throw EOutOfResources("Not enough timers available");
        }
    }
}

void TSetupSupporter::SetCalibrating(bool v) {
    if (v == m_calibrating) {
        return;
    }
    m_calibrating = v;
    UpdateTimer();
}

void TSetupSupporter::WindowProc(TMessage& message) {
    if (message.Msg != WM_TIMER) {
        // The default window procedure answers every other message with 0.
        message.Result = 0;
        return;
    }
    // A failing tick is reported and the timer lives on.
    try {
        TimerTick();
    } catch (const std::exception& e) {
        if (Application != nullptr)
            Application->HandleException(e);
    } catch (...) {
        if (Application != nullptr)
            Application->HandleException(std::string("Unknown error"));
    }
}

void TSetupSupporter::TimerTick() {
    if (m_helpPending) {
        if (m_helpForm != nullptr) {
            m_helpForm->Show();
        }
        m_helpPending = false;
        UpdateTimer();
        return;
    }
    CalibrationCycle();
}

void RegisterSetupSupporterClass(TClassRegistry& r) {
    using namespace props;
    using S = TSetupSupporter;
    // Not a control: the reader attaches it to the window that owns it.
    TClassInfo& c = r.Register("TSetupSupporter", "", [](TComponent* o) { return new TSetupSupporter(o); });
    c.Properties["CompanyName"] = String<S>([](S& t, const std::string& v) { t.SetCompanyName(v); });
    c.Properties["CardNameA"] = String<S>([](S& t, const std::string& v) { t.SetCardNameA(v); });
    c.Properties["CardNameB"] = String<S>([](S& t, const std::string& v) { t.SetCardNameB(v); });
    c.Properties["UseCardNameB"] = Bool<S>([](S& t, bool v) { t.SetUseCardNameB(v); });
    c.Properties["CallHow"] = String<S>([](S& t, const std::string& v) { t.SetCallHow(v); });
    c.Properties["MultiPort"] = Bool<S>([](S& t, bool v) { t.SetMultiPort(v); });
    c.Properties["Channels"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        const int channels = prop::Int(v, ctx);
        if (channels < 0 || channels > 255) {
            ctx.Fail("must lie between 0 and 255, found " + std::to_string(channels));
        }
        Target<S>(t, ctx).SetChannels(static_cast<std::uint8_t>(channels));
    };
    c.Properties["ChangeButtons"] = Bool<S>([](S& t, bool v) { t.SetChangeButtons(v); });
    c.Properties["bSeries"] = Bool<S>([](S& t, bool v) { t.SetbSeries(v); });
    c.Properties["OnBeginCalib"] = Event<S>([](S& t, TNotifyEvent e) { t.SetOnBeginCalib(std::move(e)); });
    c.Properties["OnStopButtonClick"] =
        Event<S>([](S& t, TNotifyEvent e) { t.OnStopButtonClick = std::move(e); });
    c.Properties["OnStartButtonClick"] =
        Event<S>([](S& t, TNotifyEvent e) { t.OnStartButtonClick = std::move(e); });
    // OnGetCardString and OnGetCalibString are not registered: they take more
    // than a Sender, and the main window has no handler of either shape to
    // bind by name. Code assigns them directly.
}

}  // namespace kx
