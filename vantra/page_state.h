// The main window's pages: which one shows, the wizard's place, the status
// panel and large link picture chosen, the selected page button, and the
// codes of the skin's hover items.
#pragma once
#include "resource_ids.h"

#include <cstdint>
#include <functional>

enum class Page : int32_t {
    Link = 0,
    SiteSurvey = 1,
    Profiles = 2,
    // The profile wizard (there is no page 7).
    WizardNetwork = 4, // network name and mode
    WizardChannel = 5, // channel and network mode
    WizardTcpIp = 6,
    WizardWep = 8,
    WizardConfirm = 12,
    WizardActivate = 13, // activate now or later
};

// The wizard's pages follow the three main pages; the menu picture makes
// room for the wizard's buttons there.
inline bool IsWizardPage(Page P) { return P >= Page::WizardNetwork; }

// The large picture on the link page's summary view.
enum class LinkPicture : int32_t {
    AdHoc = 14,
    Infrastructure = 15,
    MissingAccessPoint = 16,
    MissingInternet = 17,
};

enum class PageButton : int32_t { None = -1, Link = 0, SiteSurvey = 1, Profiles = 2 };

// One code space for every item that highlights or sounds under the pointer;
// some items share a code.
enum class HoverItem : int32_t {
    None = -1,
    LinkButton = 0,
    Back = 0,
    SurveyButton = 1,
    Next = 1,
    SurveyList = 1,
    ProfilesButton = 2, // and the signal and quality bars
    Yes = 3,
    No = 4,
    ActivateNow = 6,
    ActivateLater = 7,
    TitleButton = 8,
};

struct TPageState {
    Page CurrentPage = Page::Link;      // shown, or about to be shown
    Page PreviousPage = Page::Link;     // the page whose controls are on screen
    Page SavedWizardPage = Page::Profiles; // where the Profiles button resumes a wizard; Profiles for none
    bool WizardEditMode = false;        // a wizard run started by the profile list's Edit is pending
    bool WizardClosed = false;          // the menu picture is back in place of the wizard's buttons
    int32_t StatusImageId = 0, PreviousStatusImageId = 0; // resource ids of the status panel
    LinkPicture LinkPictureState = LinkPicture::MissingAccessPoint;
    PageButton SelectedPageButton = PageButton::None;
    bool LargeFonts = false;    // more than 96 pixels per inch
    bool MoreInfoHidden = true; // the link page shows its summary, not its details
    bool Switching = false;     // a page or wizard button's handler runs
    bool Entering = false;      // one page's controls are being swapped for another's
    // The last page button pressed while either ran: it is pressed again
    // once both are over.
    std::function<void()> PressedMeanwhile;

    bool Busy() const { return Switching || Entering; }
};

// Held by a page or wizard button's handler (SwitchScope::Handler) and by
// the routines that swap one page's controls for another's
// (SwitchScope::Page). Both pump messages; a switch that would run inside
// them, from a click or a timer, would leave two pages' controls on screen.
// A handler is refused while either is held, a page routine only while
// another page routine runs, since the handlers call them.
enum class SwitchScope { Handler, Page };

class TPageSwitch {
public:
    explicit TPageSwitch(TPageState& State, SwitchScope Scope = SwitchScope::Handler);
    ~TPageSwitch(); // then a page button pressed meanwhile is pressed again, once nothing is held
    TPageSwitch(const TPageSwitch&) = delete;
    TPageSwitch& operator=(const TPageSwitch&) = delete;

    const bool Entered; // false: another switch runs, and this one does nothing

private:
    TPageState& State;
    bool& Held;
};
