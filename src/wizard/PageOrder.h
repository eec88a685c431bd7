#pragma once

class Cprefrences;

// The wizard's pages, in their order.
enum class WizardPage { frmStep1, frmStep2, frmStep3, frmStep4, frmstep5, frmstep6a, frmstep6b, frmStep7, None };

// Where Next and Back lead from a page: the pages of the actions the user
// did not choose are passed over; the new-table page lies between the MySQL
// page and the output page when the table is to be created.
WizardPage next_page(WizardPage from, const Cprefrences &prefs);
WizardPage previous_page(WizardPage from, const Cprefrences &prefs);
