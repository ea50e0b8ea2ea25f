// A small dialog in which the user types a colour in any form the program
// reads. Under the field it shows what the text reads as (a swatch, the HTML
// text and the form it was taken for), or why it is not a colour.
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
    // The colour read, hidden while the text is not a colour.
    QLabel* Swatch() const { return swatch_; }
    // What the text reads as, or the error.
    QLabel* InfoLabel() const { return info_; }
    // What the field reads as; valid once the dialog was accepted.
    const TColorReadResult& Result() const { return result_; }

private:
    void Check();

    TReader reader_;
    TColorReadResult result_;
    QLineEdit* field_;
    QLabel* swatch_;
    QLabel* info_;
    QDialogButtonBox* buttons_;
};

// The line under the field for a colour that was read: its HTML text (both,
// for a body tag) and the form it was read as.
QString ReadAsText(const TColorReadResult& result);
