#pragma once

#include "WizardTest.h"

#include "wizard/PageOrder.h"
#include "wizard/WizardFrame.h"

#include "model/Collection.h"

#include <QPair>
#include <QStringList>
#include <QWidget>

#include <functional>

#include <memory>

class CForm;
class WizardWindow;

// Pages by name in test output.
void PrintTo(WizardPage page, std::ostream *out);

// A run whose first page has taken a form with the fields email, name, city
// (text) and photo (upload). The pages around the action pages that other
// parts of the wizard provide are stand-ins here, so moves can be seen.
class ActionPageTest : public WizardTest
{
protected:
    void SetUp() override;

    // Has the first page take a form of these (name, type) fields.
    std::shared_ptr<CForm> take_form(const QList<QPair<QString, QString>> &fields);
    // The four actions of the first page.
    static void set_actions(bool email, bool autoresponder, bool csv, bool mysql);

    static WizardWindow *window(WizardPage page) { return WizardFrame::instance().window(page); }
    // The visible page among all that exist, or None.
    static WizardPage visible_page();
    // Shows a page as the frame would and makes it the active window.
    static void show_page(WizardWindow *page);

    template<typename T> static T *find(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
        return found;
    }
    // Runs `action` on the next modal dialog; a dialog the action leaves
    // open (a failed assertion) is closed, so no test waits on it.
    static void in_next_modal(std::function<void(QWidget *)> action);
    // Moves the pointer over an empty spot of the page (never the spot it
    // is on: a move that goes nowhere is no move).
    static void move_over_background(QWidget *page);
    // Whether the keyboard focus of `window` is on `control` (or inside it).
    static bool has_focus(QWidget *window, QWidget *control);

    // Messages since the form was taken.
    QStringList new_messages() const { return messages().mid(m_seen); }

    static QStringList texts(const StringCollection &lines);

    std::shared_ptr<CForm> form;

private:
    qsizetype m_seen = 0;
};
