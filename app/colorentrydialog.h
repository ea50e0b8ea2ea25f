// A small dialog in which the user types a colour in any form the program
// reads; the error shows under the field while the text is not a colour.
#pragma once

#include "color/colortext.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class TColorEntryDialog : public QDialog {
    Q_OBJECT
public:
    using TReader = std::function<TColorReadResult(const QString&)>;
    TColorEntryDialog(TReader reader, QWidget* parent);

    QLineEdit* Field() const { return field_; }
    QLabel* ErrorLabel() const { return error_; }
    // What the field reads as; valid once the dialog was accepted.
    const TColorReadResult& Result() const { return result_; }

private:
    void Check();

    TReader reader_;
    TColorReadResult result_;
    QLineEdit* field_;
    QLabel* error_;
    QDialogButtonBox* buttons_;
};
