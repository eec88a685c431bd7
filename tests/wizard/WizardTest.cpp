#include "WizardTest.h"

#include "controls/gxButtons_H.h"
#include "wizard/CommonDialog.h"
#include "wizard/MyMessage.h"
#include "wizard/Startup.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/ini_variables.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

void WizardTest::SetUp()
{
    // wizard.ini of this test alone: test programs run side by side.
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    ini_variables::hide_start = 0;
    frmStart::is_shown = false;
    globals::reset();
    CommonDialog::clear_script();
    WizardFrame::instance().reset();
    register_pages();
    WizardFrame::instance().set_end_handler([this] { m_ended = true; });
    MyMessage::set_responder([this](const QString &text, int buttons, int icon) {
        m_messages << text;
        m_buttons << buttons;
        m_icons << icon;
        if (buttons == 1)
            return 4;
        if (m_answers.empty())
            return 2;
        const int code = m_answers.front();
        m_answers.pop_front();
        return code;
    });
}

void WizardTest::TearDown()
{
    MyMessage::set_responder({});
    WizardFrame::instance().set_end_handler({});
    WizardFrame::instance().reset();
    EXPECT_TRUE(m_answers.empty()) << "answers left unused";
}

std::shared_ptr<CForm> WizardTest::make_form(FieldList fields)
{
    auto form = std::make_shared<CForm>();
    form->set_Method(QStringLiteral("POST"));
    for (const auto &[name, type] : fields) {
        Field field;
        field.name = field.post_name = QString::fromLatin1(name);
        field.field_type = QString::fromLatin1(type);
        field.error_message = QStringLiteral("Please enter a valid ") + field.name;
        form->fields()->Add(field, field.name);
    }
    return form;
}

void WizardTest::take(const std::shared_ptr<CForm> &form)
{
    frmStart::is_shown = true;
    static_cast<frmStep1 *>(window(WizardPage::frmStep1))->select_form(form);
    EXPECT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    m_messages.clear();
    m_buttons.clear();
    m_icons.clear();
}

void WizardTest::stand_in(std::initializer_list<WizardPage> pages)
{
    for (WizardPage page : pages)
        WizardFrame::instance().set_factory(page, [page] { return new WizardWindow(page, 0); });
}

WizardPage WizardTest::visible_page()
{
    WizardPage shown = WizardPage::None;
    for (int i = 0; i < static_cast<int>(WizardPage::None); ++i) {
        const auto page = static_cast<WizardPage>(i);
        if (WizardFrame::instance().exists(page) && window(page)->isVisible()) {
            EXPECT_EQ(shown, WizardPage::None) << "two pages visible";
            shown = page;
        }
    }
    return shown;
}

void WizardTest::show_page(QWidget *page)
{
    page->show();
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page));
}

void WizardTest::click_entry(QListWidget *list, const char *text)
{
    const auto found = list->findItems(QString::fromUtf8(text), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
}

void WizardTest::on_next_modal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    auto *waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && waited->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (!modal) {
            ADD_FAILURE() << "no modal dialog opened";
            return;
        }
        action(modal);
        if (modal->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            modal->close();
        }
    });
    timer->start(10);
}

void WizardTest::click(QWidget *window, const char *name)
{
    auto *target = find<QWidget>(window, name);
    ASSERT_TRUE(target);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void WizardTest::press(Qt::Key key)
{
    // An open dialog has the keyboard even before the window system has
    // made it the active window.
    QWidget *target = QApplication::activeModalWidget();
    target = target ? (target->focusWidget() ? target->focusWidget() : target) : QApplication::focusWidget();
    ASSERT_TRUE(target);
    QTest::keyClick(target, key);
}

void WizardTest::save_picture(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT", QDir::tempPath());
    EXPECT_TRUE(window->grab().save(QDir(folder).filePath(name)));
}

QStringList WizardTest::cut_texts(QWidget *window)
{
    QStringList cut;
    const auto wider = [](const QFontMetrics &metrics, const QString &text, const QRect &room, int flags) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), flags, text);
        return needed.width() > room.width() || needed.height() > room.height();
    };
    QFont title_font = QApplication::font();
    title_font.setBold(true);
    // The title beside the window manager's buttons.
    if (QFontMetrics(title_font).horizontalAdvance(window->windowTitle()) + 120 > window->width())
        cut << QStringLiteral("title: ") + window->windowTitle();
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        const QString name = widget->objectName() + QStringLiteral(": ");
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            const int flags = Qt::AlignLeft | Qt::AlignTop | (label->wordWrap() ? Qt::TextWordWrap : 0);
            if (label->pixmap().isNull() && wider(label->fontMetrics(), label->text(), label->contentsRect(), flags))
                cut << name + label->text();
        } else if (auto *box = qobject_cast<QAbstractButton *>(widget)) {
            if (box->width() < box->sizeHint().width())
                cut << name + box->text();
        } else if (auto *button = qobject_cast<gxButtons_H *>(widget)) {
            if (button->width() < button->sizeHint().width() || button->height() < button->sizeHint().height())
                cut << name + button->Caption();
        } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
            if (list->sizeHintForColumn(0) > list->viewport()->width())
                cut << name + QStringLiteral("entries wider than the list");
        } else if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit()) {
            const QLineEdit *edit = combo->lineEdit();
            if (edit->fontMetrics().horizontalAdvance(combo->currentText()) + 4 > edit->width())
                cut << name + combo->currentText();
        }
    }
    return cut;
}

QStringList WizardTest::texts(const StringCollection &entries)
{
    QStringList result;
    for (const auto &entry : entries)
        result << entry.value;
    return result;
}

QByteArray WizardTest::read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void WizardTest::write_file(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}
