#pragma once

#include "PageOrder.h"

#include <QObject>

#include <functional>
#include <map>

class WizardWindow;

// Moves between the page windows of the wizard and ends the program. Each
// page window is created the first time anything asks for it and lives for
// the run; exactly one page is visible at a time.
class WizardFrame final : public QObject
{
    Q_OBJECT

public:
    static WizardFrame &instance();

    // Registers how a page window is made; pages register themselves.
    void set_factory(WizardPage page, std::function<WizardWindow *()> factory);
    // The page window, created on first use; null for a page without one.
    WizardWindow *window(WizardPage page);
    bool exists(WizardPage page) const { return m_windows.count(page) > 0; }

    // Next, once the page's own checks passed; and Back.
    void go_next(WizardWindow &from);
    void go_back(WizardWindow &from);
    // Shows `to` and hides `from`; in that order unless `hide_first`.
    void move(WizardWindow &from, WizardPage to, bool hide_first = false);

    // Cancel and the close box: asks whether to exit and, when the page
    // says so, whether to save the project; then ends the program. A save
    // that was cancelled or failed, or the save question closed without an
    // answer, leaves the user on the page.
    void exit_dialogue(WizardWindow &from, bool ask_save);

    // A save question (Yes and No) and what came of it: Yes saved the
    // project; No; or the person stays where they were, since the box was
    // closed (its close button or Escape) or the save did not happen.
    enum class SaveAnswer { Saved, Declined, Stay };
    SaveAnswer ask_to_save(const QString &question);

    // Closes every window and leaves the event loop.
    void end_program();
    bool is_ending() const { return m_ending; }

    // Asks for a project file with the output page's save dialog and
    // writes the project there; false (after telling the user why, unless
    // they cancelled) when nothing was written.
    bool save_project();

    // For tests: what ending the program does instead, and a fresh start.
    void set_end_handler(std::function<void()> handler) { m_end_handler = std::move(handler); }
    void reset();

private:
    WizardFrame() = default;

    std::map<WizardPage, std::function<WizardWindow *()>> m_factories;
    std::map<WizardPage, WizardWindow *> m_windows;
    std::function<void()> m_end_handler;
    bool m_ending = false;
};
