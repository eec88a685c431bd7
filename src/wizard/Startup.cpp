#include "Startup.h"

#include "MyMessage.h"
#include "WizardFrame.h"
#include "frmStep1.h"
#include "frmStep2.h"
#include "frmStep3.h"
#include "frmStep4.h"
#include "frmStep7.h"
#include "frmstep5.h"
#include "frmstep6a.h"
#include "frmstep6b.h"

#include "model/globals.h"
#include "model/webpage.h"

#include <QFileInfo>

void register_pages()
{
    WizardFrame &frame = WizardFrame::instance();
    frame.set_factory(WizardPage::frmStep1, [] { return new frmStep1; });
    frame.set_factory(WizardPage::frmStep2, [] { return new frmStep2; });
    frame.set_factory(WizardPage::frmStep3, [] { return new frmStep3; });
    frame.set_factory(WizardPage::frmStep4, [] { return new frmStep4; });
    frame.set_factory(WizardPage::frmstep5, [] { return new frmstep5; });
    frame.set_factory(WizardPage::frmstep6a, [] { return new frmstep6a; });
    frame.set_factory(WizardPage::frmstep6b, [] { return new frmstep6b; });
    frame.set_factory(WizardPage::frmStep7, [] { return new frmStep7; });
}

void start_wizard(const QString &command_line)
{
    register_pages();
    // The page reader tells its troubles through the program's message box.
    webpage::set_message_function(
        [](const QString &text, int buttons, int icon) { return MyMessage::show_message(text, buttons, icon); });
    if (!command_line.isEmpty()) {
        QString path = command_line;
        for (int removed = 0; removed < 2; ++removed) {
            const qsizetype quote = path.indexOf(QLatin1Char('"'));
            if (quote < 0)
                break;
            path.remove(quote, 1);
        }
        globals::project_file = path;
        const QFileInfo file(path);
        QString reason;
        if (!file.exists())
            reason = path + QStringLiteral(" does not exist");
        else if (!path.contains(QLatin1String("tsl")) || !file.isFile())
            reason = path + QStringLiteral(" is not a project file (.tsl)");
        // Told, then the run goes on as without a project, as after a file
        // that cannot be read.
        if (!reason.isEmpty()) {
            MyMessage::show_message(QStringLiteral("command line is not correct \n") + reason, 1, 3);
            globals::project_error = true;
        }
    }
    auto *first = static_cast<frmStep1 *>(WizardFrame::instance().window(WizardPage::frmStep1));
    // The project is read before any page shows.
    if (!globals::project_file.isEmpty() && !globals::project_error)
        first->load_settings();
    first->show();
    first->activateWindow();
}
