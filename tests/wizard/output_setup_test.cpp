// When Generate writes the table-setup files; what setup.php does on the
// test server is run end to end in the full-run test.
#include "OutputTest.h"

#include "model/Cprefrences.h"
#include "model/globals.h"

namespace {

// The box stays ticked when MySQL is turned off again on page 1: the table
// files would then belong to no script.
TEST_F(OutputTest, NoTableFilesWithoutTheMySqlAction)
{
    globals::prefs()->is_mysql = false;
    globals::prefs()->is_create_tble = true;
    choose_destination(php.folder());
    set_message(QStringLiteral("hi"));
    generate();
    EXPECT_EQ(folder_files(), QStringList { QStringLiteral("index.php") });
}

} // namespace
