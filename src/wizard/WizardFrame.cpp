#include "WizardFrame.h"

#include "MyMessage.h"
#include "ProjectPages.h"
#include "WizardWindow.h"

#include "model/globals.h"

#include <QApplication>

WizardFrame &WizardFrame::instance()
{
    static WizardFrame frame;
    return frame;
}

void WizardFrame::set_factory(WizardPage page, std::function<WizardWindow *()> factory)
{
    m_factories[page] = std::move(factory);
}

WizardWindow *WizardFrame::window(WizardPage page)
{
    const auto found = m_windows.find(page);
    if (found != m_windows.end())
        return found->second;
    const auto factory = m_factories.find(page);
    if (factory == m_factories.end())
        return nullptr;
    WizardWindow *created = factory->second();
    m_windows[page] = created;
    return created;
}

void WizardFrame::go_next(WizardWindow &from)
{
    move(from, next_page(from.page(), *globals::prefs()), from.page() == WizardPage::frmStep2);
}

void WizardFrame::go_back(WizardWindow &from)
{
    move(from, previous_page(from.page(), *globals::prefs()));
}

void WizardFrame::move(WizardWindow &from, WizardPage to, bool hide_first)
{
    WizardWindow *target = window(to);
    if (!target)
        return;
    target->take_place_of(from);
    if (hide_first)
        from.hide();
    target->show();
    target->raise();
    target->activateWindow();
    if (!hide_first)
        from.hide();
}

void WizardFrame::exit_dialogue(WizardWindow &, bool ask_save)
{
    if (MyMessage::show_message(QStringLiteral("Do you really want to exit!? "), 3, 1) != 1)
        return;
    if (ask_save
        && ask_to_save(QStringLiteral("Do you want to save this project to work on later?")) == SaveAnswer::Stay)
        return;
    end_program();
}

WizardFrame::SaveAnswer WizardFrame::ask_to_save(const QString &question)
{
    switch (MyMessage::show_message(question, 3, 1, MyMessage::Escape::Closes)) {
    case 1:
        return save_project() ? SaveAnswer::Saved : SaveAnswer::Stay;
    case 2:
        return SaveAnswer::Declined;
    default:
        return SaveAnswer::Stay;
    }
}

bool WizardFrame::save_project()
{
    return ProjectPages::save();
}

void WizardFrame::end_program()
{
    if (m_end_handler) {
        m_end_handler();
        return;
    }
    m_ending = true;
    QApplication::closeAllWindows();
    QApplication::quit();
}

void WizardFrame::reset()
{
    for (auto &[page, window] : m_windows)
        delete window;
    m_windows.clear();
    m_ending = false;
}
