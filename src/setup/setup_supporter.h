#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/types.h"

namespace kx {

class TClassRegistry;
class TControl;
class TLabel;
class TMemo;
class TButton;
class TMessageWindow;
class THelpForm;
class TTechForm;
class TPCIForm;
class TMenuItem;
class TForm;

// Describes installed card number CardIndex (from 0).
using TPCIEvent = std::function<std::string(TObject* Sender, std::int32_t CardIndex)>;
// Reads one calibration channel; a good reading sets ItsAllBad to false.
using TCalibEvent = std::function<std::string(TObject* Sender, std::uint8_t Channel, bool& ItsAllBad)>;

// One set of calibration controls. Each member is the variable that holds a
// control, followed anew at every use.
struct TCalibSet {
    TMemo** ReadoutControl = nullptr;    // line n shows channel n
    TButton** ButtonControl = nullptr;   // the set's Start button
    TControl** HiddenControl = nullptr;  // hidden at the start of every cycle
};

// The non-visual setup supporter: the product wording, the one-time build of
// the header line and the built-in windows at the first idle moment, the cards
// list, and the calibration cycle paced by its timer.
class TSetupSupporter : public TComponent {
public:
    KX_CLASS(TSetupSupporter)

    explicit TSetupSupporter(TComponent* AOwner);
    ~TSetupSupporter() override;

    const std::string& CompanyName() const { return m_companyName; }
    void SetCompanyName(const std::string& v) { m_companyName = v; }
    const std::string& CardNameA() const { return m_cardNameA; }
    void SetCardNameA(const std::string& v) { m_cardNameA = v; }
    const std::string& CardNameB() const { return m_cardNameB; }
    void SetCardNameB(const std::string& v) { m_cardNameB = v; }
    bool UseCardNameB() const { return m_useCardNameB; }
    void SetUseCardNameB(bool v) { m_useCardNameB = v; }
    const std::string& CallHow() const { return m_callHow; }
    void SetCallHow(const std::string& v) { m_callHow = v; }
    bool MultiPort() const { return m_multiPort; }
    void SetMultiPort(bool v) { m_multiPort = v; }
    std::uint8_t Channels() const { return m_channels; }
    void SetChannels(std::uint8_t v) { m_channels = v; }
    bool ChangeButtons() const { return m_changeButtons; }
    void SetChangeButtons(bool v) { m_changeButtons = v; }
    bool bSeries() const { return m_bSeries; }
    void SetbSeries(bool v) { m_bSeries = v; }

    // Assigning it runs UpdateTimer.
    const TNotifyEvent& OnBeginCalib() const { return m_onBeginCalib; }
    void SetOnBeginCalib(TNotifyEvent e);
    TPCIEvent OnGetCardString;
    TCalibEvent OnGetCalibString;
    TNotifyEvent OnStopButtonClick;
    TNotifyEvent OnStartButtonClick;

    // The card name in use.
    const std::string& CardName() const { return m_useCardNameB ? m_cardNameB : m_cardNameA; }

    // The application's idle handler: removes itself, then builds once.
    void IdleStart(TObject* Sender, bool& Done);
    void BuildWindows();
    void ShowCardsWindow(TObject* Sender);
    void CloseButtonClick(TObject* Sender);

    // Stops timer 1 and starts it again (100 ms) while calibrating or while
    // the help window is pending. Throws EOutOfResources when the window
    // system refuses the timer.
    void UpdateTimer();
    bool Calibrating() const { return m_calibrating; }
    void SetCalibrating(bool v);
    bool HelpPending() const { return m_helpPending; }
    void TimerTick();

    // Calibration.
    std::vector<TCalibSet>& CalibSets() { return m_calibSets; }
    void ShowChannel(std::uint8_t Channel, const std::string& Text);
    void StopCalibration(TObject* Sender);
    // Begins a calibration run: registers the sets (each read-out must hold a
    // line per channel) and starts the cycle. The buttons are left as they
    // are; a caller that wants a Stop button while the run goes on sets its
    // caption and click handler itself (OnStopButtonClick is there to hold
    // that handler), and StopCalibration gives them back "Start". Throws
    // std::length_error for more than MaxCalibSets sets.
    void StartCalibration(const std::vector<TCalibSet>& sets);
    static constexpr std::size_t MaxCalibSets = 256;

    // The one timer of TimerWindow.
    static constexpr unsigned TimerNumber = 1;
    static constexpr unsigned TimerIntervalMs = 100;

    // The cards window lists at most this many cards, and a line saying how
    // many more the driver reported; each card's description is cut to
    // MaxCardStringLength characters.
    static constexpr std::int32_t MaxListedCards = 64;
    static constexpr std::size_t MaxCardStringLength = 256;

    TLabel* HeaderLabel() const { return m_headerLabel; }
    THelpForm* HelpForm() const { return m_helpForm; }
    TTechForm* TechForm() const { return m_techForm; }
    TPCIForm* PCIForm() const { return m_pciForm; }
    TMessageWindow* TimerWindow() const { return m_timerWindow.get(); }

    // The RTF document of the help window and the support text, as built.
    std::string HelpDocument() const;
    std::string SupportText() const;

protected:
    void Notification(TComponent* comp, TOperation op) override;

private:
    void WindowProc(TMessage& message);
    // One cycle; an error raised in it ends the run, then goes on to the
    // caller.
    void CalibrationCycle();
    void RunCalibrationCycle();
    void ShowHiddenControls();
    int ShowBox(const std::string& text, const std::string& caption, unsigned flags);

    // The steps of BuildWindows.
    void BuildHeaderLabel(TForm* mainForm);
    void BuildHelpForm(TForm* mainForm);
    void BuildTechForm(TForm* mainForm);
    void AddCardsMenuEntry(TForm* mainForm, const std::string& cardName);
    void BuildCardsWindow(TForm* mainForm, const std::string& cardName);
    // Fills the cards window from the driver; true when a card was listed.
    bool ListCards();

    std::string m_companyName;
    std::string m_cardNameA;
    std::string m_cardNameB;
    bool m_useCardNameB = false;
    std::string m_callHow;
    bool m_multiPort = false;
    std::uint8_t m_channels = 8;
    bool m_changeButtons = true;
    bool m_bSeries = true;

    bool m_helpPending = false;
    bool m_calibrating = false;
    std::unique_ptr<TMessageWindow> m_timerWindow;
    TNotifyEvent m_onBeginCalib;
    TLabel* m_headerLabel = nullptr;
    TPCIForm* m_pciForm = nullptr;
    THelpForm* m_helpForm = nullptr;
    TTechForm* m_techForm = nullptr;
    std::vector<TCalibSet> m_calibSets;
};

void RegisterSetupSupporterClass(TClassRegistry& registry);

}  // namespace kx
