#include "app/colorentrydialog.h"

#include "framework/application.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TColorEntryDialog::TColorEntryDialog(TReader reader, QWidget* parent)
    : QDialog(parent), reader_(std::move(reader)), field_(new QLineEdit(this)), error_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Ввести цвет"));
    auto* prompt = new QLabel(QStringLiteral("Код или название цвета:"), this);
    prompt->setBuddy(field_);
    field_->setPlaceholderText(QStringLiteral("#336699"));
    field_->setMinimumWidth(260);
    error_->setWordWrap(true);
    QPalette palette = error_->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    error_->setPalette(palette);
    // The line keeps its height while empty, so the dialog does not jump.
    error_->setMinimumHeight(error_->fontMetrics().height() * 2);
    error_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(field_);
    layout->addWidget(error_);
    layout->addWidget(buttons_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(field_, &QLineEdit::textChanged, this, [this] { Guard([this] { Check(); }); });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Check();
}

void TColorEntryDialog::Check()
{
    const bool empty = field_->text().trimmed().isEmpty();
    result_ = empty ? TColorReadResult{} : reader_(field_->text());
    // An empty field is no mistake yet; it only cannot be taken.
    error_->setText(result_.IsOk() || empty ? QString() : result_.Message);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(result_.IsOk());
}
