#pragma once

// Every text the program shows in its message box: the questions (Yes and
// No) and the notices (Ok). A text that takes a value (a field name, a path,
// a server's answer) is written here with a long value of its kind, as long
// as users meet, since the box must show each text whole. A message added to
// the program is added here.

#define TRESSEL_LONG_FIELD "customer_delivery_address_second_line"
#define TRESSEL_LONG_PATH "/home/margaret.winterbottom/Documents/Web sites/Spring campaign 2024/contact forms"
#define TRESSEL_LONG_HOST "forms.customer-services.example-organisation.org"

inline const char *const kQuestions[] = {
    // The frame and start-up.
    "Do you really want to exit!? ", "Do you want to save this project to work on later?",
    "Do you want to save this project ?",
    // The first page, the form picker and the page reader.
    "Selecting another form will overwrite saved settings , Do you want to continue ?",
    "An HTML form was already loaded , do you wish to load a new form",
    // Reopening a project saved by an earlier version.
    "Scripts made from this project by earlier versions wrote a comma (,) between the values in the data file: "
    "they took the Separator \" semicolon\" for a comma. This version writes \";\", and its records would not "
    "match those already in the file. Do you want to keep the comma?",
    // The output page, its dialogs, Generate and the task report.
    "Header file is empty, Do you want to insert a header file in the result script?",
    "footer file is empty, Do you want to insert a footer file in the result script?",
    "enquiry-form-with-attachments.php  already exists, do you want to overwrite it?"
};

inline const char *const kNotices[] = {
    // The frame and start-up.
    "command line is not correct ",
    "command line is not correct \n" TRESSEL_LONG_PATH "/enquiry-form.tsl does not exist",
    "command line is not correct \n" TRESSEL_LONG_PATH "/enquiry-form.html is not a project file (.tsl)",
    "The setting could not be saved in " TRESSEL_LONG_PATH "/Tressel/wizard.ini: Permission denied",
    TRESSEL_LONG_PATH "/Tressel/wizard.ini cannot be written (Read-only file system)",
    // Saving and reopening a project.
    "The project was not saved: " TRESSEL_LONG_PATH "/enquiry-form.tsl cannot be written (Permission denied)",
    "The project was not saved: Message on the owner-mail page holds a line break, which a project file cannot "
    "hold. Please change this text: \"Dear customer services, a visitor has sent the enquiry form with the "
    "following details: name ...\"",
    "The project could not be read: " TRESSEL_LONG_PATH "/enquiry-form.tsl, line 212: the file ends inside "
    "[fields]",
    "These file types are no longer offered, since the script refuses every such file, and were removed from "
    "the permitted types: image/svg+xml (field '" TRESSEL_LONG_FIELD "': a browser runs such files as pages of "
    "the site), application/x-unknown-archive (field '" TRESSEL_LONG_FIELD "': no file name extension is known "
    "for it)",
    // The first page, the form picker and the page reader.
    "Please select an HTML file", "please type the URL", "Invalid URL", "please select a form to process",
    "File does not contain an HTML form.", "Page does not contain an HTML form.", "HTML Form is successfully loaded ",
    "Selected Form doesn't contain any Fields, Please select another form",
    "All fields in the selected form are unnamed; please make sure that each field has a name in the form, you "
    "like to process.",
    "Some fields in the selected form don't have names , only named fields will be processed ",
    "Please click the 'Load URL' button to load your HTML form", "Please select an HTML form to process",
    "Please select the date format used on your form",
    "The form Form12 saved in this project is no longer on the page.",
    "The page could not be loaded: the file \"" TRESSEL_LONG_PATH "/enquiry-form-with-attachments.html\" "
    "cannot be read (Permission denied).",
    "The page could not be loaded: the file \"" TRESSEL_LONG_PATH "/archive.html\" is larger than 16 MB, more "
    "than a page with a form needs.",
    "The page could not be loaded: the server \"" TRESSEL_LONG_HOST "\" was not found. Check the address and "
    "the Internet connection.",
    "The page could not be loaded: the server \"" TRESSEL_LONG_HOST "\" answered \"503 Service Unavailable\".",
    "The page could not be loaded: no secure connection to \"" TRESSEL_LONG_HOST "\" could be made (The "
    "issuer certificate of a locally looked up certificate could not be found).",
    "The page could not be loaded: the page did not finish arriving within 300 seconds.",
    "The page could not be read: its forms hold more than 50000 elements, more than a form can use.",
    "The page holds more than 32767 forms, more than can be listed.",
    // The field-rules page.
    "Please select a field ", "please select a field to compare with",
    "Please enter an error alert for field '" TRESSEL_LONG_FIELD "'",
    "Please select a field to be compared with '" TRESSEL_LONG_FIELD "'",
    "Please enter the list of values for field '" TRESSEL_LONG_FIELD "'",
    "Please enter the upload folder URL for field '" TRESSEL_LONG_FIELD "'",
    "Upload folder URL of field '" TRESSEL_LONG_FIELD "' doesn't seem right; it should include the upload "
    "destination folder.",
    "Please enter the Maximum file size for field '" TRESSEL_LONG_FIELD "'",
    "Please check the permissible types for Field '" TRESSEL_LONG_FIELD "'",
    "Please specify the upload setting of field '" TRESSEL_LONG_FIELD "' To be able to receive it on your "
    "server. ",
    "This value is already in the list",
    // The mail pages and their dialogs.
    "You must specify a valid email address to send this email message to", "Please enter a valid email address",
    "You must select the field which include your visitor email address from the 'From' list", "Subject is empty",
    "Please select from the 'To' list the field in which your visitor types an email address",
    "Message is empty", "Please select a field to insert in the message body",
    // The CSV page.
    "Please select a valid File Format: *. followed by an extension, such as *.csv",
    "Please select a valid End of Line: \\r\\n or \\n",
    "Please select a valid Separator: comma, semicolon, tab, space, or one character other than \" and *",
    // The MySQL page and the new-table page.
    "Unable to connect your MySQL server, all you have to do is typing the database, table and Fields name "
    "manually in the lists of this step and check the 'is date' box for date type fields\nAccess denied for user "
    "'webform_administrator'@'" TRESSEL_LONG_HOST "' (using password: YES)",
    "Connected successfully to MySQL server, please select the database, table, and fields in which form data "
    "will be saved.",
    "Database doesn't exist", "Field '" TRESSEL_LONG_FIELD "' doesn't exist in specified table",
    "The connection to your MySQL server was lost:\nLost connection to server during query\nCan't connect to "
    "server on '" TRESSEL_LONG_HOST "' (110)\nOnce the server answers again, try once more: the page connects to "
    "it again by itself.",
    "One or more of the selected columns in your MySQL table are dates, please click the 'back' button and set "
    "the date format used in your Form (in step 1). ",
    "Please connect your MySQL server first", "Please select a database or type its name",
    "Please select a table or type its name", "please select a datatype for ' " TRESSEL_LONG_FIELD " ' ",
    "please enter a valid length for ' " TRESSEL_LONG_FIELD " ' ",
    "You shouldn't enter length for ' " TRESSEL_LONG_FIELD " ' ", "Please select a primary key",
    "Please select the MySQL column of at least one field: with none, nothing would be saved in the table.",
    "Please select the MySQL column of field '" TRESSEL_LONG_FIELD
    "' or type its name: 'Not assigned" TRESSEL_LONG_FIELD "' begins with 'Not assigned'.",
    "The column '" TRESSEL_LONG_FIELD "' is of the type MEDIUMTEXT, which cannot be a primary key. Please choose "
    "another primary key, or give '" TRESSEL_LONG_FIELD "' one of the types a key can have: TINYINT, SmallInt, "
    "MEDIUMINT, INT, BIGINT, Float, DOUBLE, DECIMAL, DateTime, Date, TimeStamp, Time, Year, Char, VARCHAR.",
    "The column '" TRESSEL_LONG_FIELD "' is too long to be a primary key: a key of the type VARCHAR can hold at "
    "most 768 characters. Please give it a shorter length, or choose another primary key.",
    // The output page, its dialogs, Generate and the task report.
    "Please specify a destination file", "Success page can't be empty", "Error page can't be empty",
    "Success Message is empty", "Please enter a valid IP address", "This IP address is already in the list",
    "please enter a valid name", "invalid Folder Name", "You must select a destination folder before proceeding",
    "Spring campaign contact forms for the customer services department already exist",
    "The folder " TRESSEL_LONG_PATH "/new forms cannot be created (Permission denied)",
    "The folder " TRESSEL_LONG_PATH "/spring-campaign does not exist",
    "The script was not generated: " TRESSEL_LONG_PATH "/enquiry-form-with-attachments.php cannot be written "
    "(No space left on device)",
    "The report " TRESSEL_LONG_PATH "/enquiry-form-task-report.log cannot be written (Permission denied)"
};

#undef TRESSEL_LONG_FIELD
#undef TRESSEL_LONG_PATH
#undef TRESSEL_LONG_HOST
