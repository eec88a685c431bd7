// What the two mail pages make of a message body when Next copies it.
#include "ActionPageTest.h"

#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"

#include "generate/cmail.h"
#include "model/globals.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <tuple>

namespace {

struct BodyCase
{
    const char *body;
    QStringList lines;
};

void PrintTo(const BodyCase &c, std::ostream *out)
{
    *out << QString::fromUtf8(c.body).replace(QLatin1Char('\n'), QStringLiteral("<LF>")).toStdString();
}

class MailBody : public ActionPageTest, public ::testing::WithParamInterface<std::tuple<WizardPage, BodyCase>>
{
};

TEST_P(MailBody, NextTurnsTheBodyIntoMessageLines)
{
    const auto &[which, c] = GetParam();
    set_actions(true, true, false, false);
    QPlainTextEdit *body = nullptr;
    std::shared_ptr<cmail> mail;
    if (which == WizardPage::frmStep3) {
        auto *owner = static_cast<frmStep3 *>(window(which));
        owner->txtTo->setText(QStringLiteral("owner@example.com"));
        owner->cmbfields->setEditText(QStringLiteral("email"));
        owner->txtSubject->setText(QStringLiteral("s"));
        body = owner->txtMessage;
        mail = globals::owner_mail();
    } else {
        body = static_cast<frmStep4 *>(window(which))->txtMessage;
        mail = globals::auto_mail();
    }
    mail->message_lines()->Add(QStringLiteral("left from an earlier Next"));
    show_page(window(which));
    body->setPlainText(QString::fromUtf8(c.body));
    click(window(which), "cmdNext");
    EXPECT_TRUE(new_messages().isEmpty());
    EXPECT_EQ(texts(*mail->message_lines()), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Pages, MailBody,
    ::testing::Combine(::testing::Values(WizardPage::frmStep3, WizardPage::frmStep4),
        ::testing::Values(
            // Every line but the last keeps "\n" for PHP.
            BodyCase { "a\nb", { "a\\n", "b" } },
            // An empty line is "\n" alone; a final line break adds nothing.
            BodyCase { "a\n\nb\n", { "a\\n", "\\n", "b\\n" } },
            BodyCase { "Name: #name#\nCity: #city#", { "Name: $name\\n", "City: $city" } },
            // Only the first "#" of a line opens a reference.
            BodyCase { "#a# and #b#", { "$a and b" } },
            // Double quotes become single quotes, with or without "#".
            BodyCase { "Say \"hi\"\n\"#name#\"", { "Say 'hi'\\n", "'$name'" } },
            // A typed "|" is text like any other.
            BodyCase { "a|b\n|", { "a|b\\n", "|" } }, BodyCase { "x\r\ny", { "x\\n", "y" } })));

} // namespace
