#include "PageOrder.h"

#include "model/Cprefrences.h"

#include <initializer_list>
#include <utility>

namespace {

// The page of the first chosen action in the list, else `otherwise`.
WizardPage first_set(std::initializer_list<std::pair<bool, WizardPage>> choices, WizardPage otherwise)
{
    for (const auto &[chosen, page] : choices) {
        if (chosen)
            return page;
    }
    return otherwise;
}

} // namespace

WizardPage next_page(WizardPage from, const Cprefrences &p)
{
    using P = WizardPage;
    switch (from) {
    case P::frmStep1:
        return P::frmStep2;
    case P::frmStep2:
        return first_set({ { p.is_email, P::frmStep3 }, { p.is_autoresponde, P::frmStep4 }, { p.is_csv, P::frmstep5 },
                             { p.is_mysql, P::frmstep6a } },
            P::frmStep7);
    case P::frmStep3:
        return first_set(
            { { p.is_autoresponde, P::frmStep4 }, { p.is_csv, P::frmstep5 }, { p.is_mysql, P::frmstep6a } },
            P::frmStep7);
    case P::frmStep4:
        return first_set({ { p.is_csv, P::frmstep5 }, { p.is_mysql, P::frmstep6a } }, P::frmStep7);
    case P::frmstep5:
        return p.is_mysql ? P::frmstep6a : P::frmStep7;
    case P::frmstep6a:
        return p.is_create_tble ? P::frmstep6b : P::frmStep7;
    case P::frmstep6b:
        return P::frmStep7;
    case P::frmStep7:
    case P::None:
        break;
    }
    return P::None;
}

WizardPage previous_page(WizardPage from, const Cprefrences &p)
{
    using P = WizardPage;
    switch (from) {
    case P::frmStep2:
        return P::frmStep1;
    case P::frmStep3:
        return P::frmStep2;
    case P::frmStep4:
        return p.is_email ? P::frmStep3 : P::frmStep2;
    case P::frmstep5:
        return first_set({ { p.is_autoresponde, P::frmStep4 }, { p.is_email, P::frmStep3 } }, P::frmStep2);
    case P::frmstep6a:
        return first_set({ { p.is_csv, P::frmstep5 }, { p.is_autoresponde, P::frmStep4 }, { p.is_email, P::frmStep3 } },
            P::frmStep2);
    case P::frmstep6b:
        return P::frmstep6a;
    case P::frmStep7:
        return first_set({ { p.is_mysql, p.is_create_tble ? P::frmstep6b : P::frmstep6a }, { p.is_csv, P::frmstep5 },
                             { p.is_autoresponde, P::frmStep4 }, { p.is_email, P::frmStep3 } },
            P::frmStep2);
    case P::frmStep1:
    case P::None:
        break;
    }
    return P::None;
}
