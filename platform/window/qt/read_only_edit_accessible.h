// What assistive technology is told about a read-only one-line edit.
#pragma once

class QLineEdit;

// From now on `edit` is reported read-only and not editable, with its text,
// selection and caret as for any edit (Qt's own report calls every line edit editable).
void ReportReadOnlyToAssistiveTechnology(QLineEdit* edit);
