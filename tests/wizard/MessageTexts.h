#pragma once

// Every text the program shows in its message box, with the button set it
// is shown with. A text that takes a value (a field name, a path, a server's
// answer) is written here with a long value of its kind, as long as users
// meet, since the box must show each text whole. A message added to the
// program is added to this table.
struct MessageText
{
    int buttons;
    const char *text;
};

#define TRESSEL_LONG_FIELD "customer_delivery_address_second_line"
#define TRESSEL_LONG_PATH "/home/margaret.winterbottom/Documents/Web sites/Spring campaign 2024/contact forms"
#define TRESSEL_LONG_HOST "forms.customer-services.example-organisation.org"

inline const MessageText kMessageTexts[] = {
    // The frame and start-up.
    { 3, "Do you really want to exit!? " },
    { 3, "Do you want to save this project to work on later?" },
    { 3, "Do you want to save this project ?" },
    { 1, "command line is not correct " },
    { 1, "The setting could not be saved in " TRESSEL_LONG_PATH "/Tressel/wizard.ini: Permission denied" },
    { 1, TRESSEL_LONG_PATH "/Tressel/wizard.ini cannot be written (Read-only file system)" },
    // Saving and reopening a project.
    { 1, "The project was not saved: " TRESSEL_LONG_PATH "/enquiry-form.tsl cannot be written (Permission denied)" },
    { 1,
        "The project was not saved: Message on the owner-mail page holds a line break, which a project file cannot "
        "hold. Please change this text: \"Dear customer services, a visitor has sent the enquiry form with the "
        "following details: name ...\"" },
    { 1,
        "The project could not be read: " TRESSEL_LONG_PATH "/enquiry-form.tsl, line 212: the file ends inside "
        "[fields]" },
    // The first page, the form picker and the page reader.
    { 3, "Selecting another form will overwrite saved settings , Do you want to continue ?" },
    { 3, "An HTML form was already loaded , do you wish to load a new form" },
    { 1, "Please select an HTML file" },
    { 1, "please type the URL" },
    { 1, "Invalid URL" },
    { 1, "please select a form to process" },
    { 1, "File does not contain an HTML form." },
    { 1, "Page does not contain an HTML form." },
    { 1, "HTML Form is successfully loaded " },
    { 1, "Selected Form doesn't contain any Fields, Please select another form" },
    { 1,
        "All fields in the selected form are unnamed; please make sure that each field has a name in the form, you "
        "like to process." },
    { 1, "Some fields in the selected form don't have names , only named fields will be processed " },
    { 1, "Please click the 'Load URL' button to load your HTML form" },
    { 1, "Please select an HTML form to process" },
    { 1, "Please select the date format used on your form" },
    { 1,
        "The page could not be loaded: the file \"" TRESSEL_LONG_PATH "/enquiry-form-with-attachments.html\" "
        "cannot be read (Permission denied)." },
    { 1,
        "The page could not be loaded: the file \"" TRESSEL_LONG_PATH "/archive.html\" is larger than 16 MB, more "
        "than a page with a form needs." },
    { 1,
        "The page could not be loaded: the server \"" TRESSEL_LONG_HOST "\" was not found. Check the address and "
        "the Internet connection." },
    { 1, "The page could not be loaded: the server \"" TRESSEL_LONG_HOST "\" answered \"503 Service Unavailable\"." },
    { 1,
        "The page could not be loaded: no secure connection to \"" TRESSEL_LONG_HOST "\" could be made (The "
        "issuer certificate of a locally looked up certificate could not be found)." },
    { 1, "The page could not be loaded: the page did not finish arriving within 300 seconds." },
    { 1, "The page could not be read: its forms hold more than 50000 elements, more than a form can use." },
    { 1, "The page holds more than 32767 forms, more than can be listed." },
    // The field-rules page.
    { 1, "Please select a field " },
    { 1, "please select a field to compare with" },
    { 1, "Please enter an error alert for field '" TRESSEL_LONG_FIELD "'" },
    { 1, "Please select a field to be compared with '" TRESSEL_LONG_FIELD "'" },
    { 1, "Please enter the list of values for field '" TRESSEL_LONG_FIELD "'" },
    { 1, "Please enter the upload folder URL for field '" TRESSEL_LONG_FIELD "'" },
    { 1,
        "Upload folder URL of field '" TRESSEL_LONG_FIELD "' doesn't seem right; it should include the upload "
        "destination folder." },
    { 1, "Please enter the Maximum file size for field '" TRESSEL_LONG_FIELD "'" },
    { 1, "Please check the permisible types for Field '" TRESSEL_LONG_FIELD "'" },
    { 1,
        "Please specify the upload setting of field '" TRESSEL_LONG_FIELD "' To be able to receive it on your "
        "server. " },
    // The mail pages and their dialogs.
    { 1, "You must specify a valid email address to send this email message to" },
    { 1, "Please enter a valid email address" },
    { 1, "You must select the field which include your visitor email address from the 'From' list" },
    { 1, "Subject is empty" },
    { 1, "Message is empty" },
    { 1, "Please select a field to insert in the message body" },
    // The MySQL page and the new-table page.
    { 1,
        "Unable to connect your mysql server,  all you have to do is typing the database ,table and Fields name "
        "manually in the lists of this step and check the 'is date' box for date type fields\nAccess denied for user "
        "'webform_administrator'@'" TRESSEL_LONG_HOST "' (using password: YES)" },
    { 1,
        "Connected successfully to MySQL server, please select the database, table, and fields in which form data "
        "will be saved." },
    { 1, "Database doesn't exist" },
    { 1, "Field '" TRESSEL_LONG_FIELD "' doesn't exist in specified table" },
    { 1,
        "One or more of the selected columns in your Mysql table are dates, please click the 'back' button and set "
        "the date format used in your Form (in step 1). " },
    { 1, "Please connect your Mysql server first" },
    { 1, "Please select a database or type it's name" },
    { 1, "Please select a table or type it's name" },
    { 1, "please select a datatype for ' " TRESSEL_LONG_FIELD " ' " },
    { 1, "please enter a valid length for ' " TRESSEL_LONG_FIELD " ' " },
    { 1, "You shouldn't enter length for ' " TRESSEL_LONG_FIELD " ' " },
    { 1, "Please select a primary key" },
    // The output page, its dialogs, Generate and the task report.
    { 1, "Please specify a destination file" },
    { 3, "Header file is empty, Do you want to insert a header file in the result script?" },
    { 3, "footer file is empty, Do you want to insert a footer file in the result script?" },
    { 1, "Success page can't be empty" },
    { 1, "Error page can't be empty" },
    { 1, "Success Message is empty" },
    { 1, "Please enter a valid IP address" },
    { 1, "please enter a valid name" },
    { 1, "invalid Folder Name" },
    { 1, "You must select a destination folder before proceeding" },
    { 1, "Spring campaign contact forms for the customer services department already exist" },
    { 1, "The folder " TRESSEL_LONG_PATH "/new forms cannot be created (Permission denied)" },
    { 1, "The folder " TRESSEL_LONG_PATH "/spring-campaign does not exist" },
    { 3, "enquiry-form-with-attachments.php  already exists, do you want to overwrite it?" },
    { 1,
        "The script was not generated: " TRESSEL_LONG_PATH "/enquiry-form-with-attachments.php cannot be written "
        "(No space left on device)" },
    { 1, "The report " TRESSEL_LONG_PATH "/enquiry-form-task-report.log cannot be written (Permission denied)" },
};

#undef TRESSEL_LONG_FIELD
#undef TRESSEL_LONG_PATH
#undef TRESSEL_LONG_HOST
