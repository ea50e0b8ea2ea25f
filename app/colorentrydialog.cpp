#include "app/colorentrydialog.h"

#include "color/colormodel.h"
#include "framework/application.h"
#include "framework/palette.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Html(const RgbTriple& c)
{
    return HtmlOf(c.R, c.G, c.B);
}

// The colour read; for a body tag its background with "Aa" in its text colour.
QPixmap SwatchPicture(const TColorReadResult& result, const QFont& font)
{
    QPixmap picture(40, 20);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QRect inside = picture.rect().adjusted(1, 1, -1, -1);
    const auto qcolor = [](const RgbTriple& c) { return ToQColor(RGB(c.R, c.G, c.B)); };
    const bool body = result.Kind == TColorTextKind::BodyTag;
    if (!body || result.Background)
        painter.fillRect(inside, qcolor(body ? *result.Background : result.Color));
    if (body && result.Text) {
        painter.setFont(font);
        painter.setPen(qcolor(*result.Text));
        painter.drawText(inside, Qt::AlignCenter, QStringLiteral("Aa"));
    }
    painter.setPen(Qt::black);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace

QString ReadAsText(const TColorReadResult& result)
{
    QString colours;
    if (result.Kind == TColorTextKind::BodyTag) {
        QStringList parts;
        if (result.Background)
            parts << QStringLiteral("фон ") + Html(*result.Background);
        if (result.Text)
            parts << QStringLiteral("текст ") + Html(*result.Text);
        colours = parts.join(QStringLiteral(", "));
    } else {
        colours = Html(result.Color);
    }
    return colours + QStringLiteral(" — ") + ColorTextFormName(result.Form);
}

TColorEntryDialog::TColorEntryDialog(TReader reader, QWidget* parent)
    : QDialog(parent), reader_(std::move(reader)), field_(new QLineEdit(this)), swatch_(new QLabel(this)),
      info_(new QLabel(this)), buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Ввести цвет"));
    auto* prompt = new QLabel(QStringLiteral("Код или название цвета:"), this);
    prompt->setBuddy(field_);
    field_->setPlaceholderText(QStringLiteral("#336699"));
    field_->setMinimumWidth(260);
    info_->setWordWrap(true);
    // The line keeps its height while empty, so the dialog does not jump.
    info_->setMinimumHeight(info_->fontMetrics().height() * 2);
    info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    swatch_->setFixedSize(40, 20);
    // The swatch keeps its room while hidden, so the dialog does not jump.
    QSizePolicy policy = swatch_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    swatch_->setSizePolicy(policy);

    auto* readAs = new QHBoxLayout;
    readAs->addWidget(swatch_, 0, Qt::AlignTop);
    readAs->addWidget(info_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(field_);
    layout->addLayout(readAs);
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
    const bool ok = result_.IsOk();
    // An empty field is no mistake yet; it only cannot be taken.
    swatch_->setVisible(ok);
    if (ok)
        swatch_->setPixmap(SwatchPicture(result_, font()));
    QPalette palette = info_->palette();
    palette.setColor(QPalette::WindowText, ok ? this->palette().color(QPalette::WindowText) : QColor(Qt::darkRed));
    info_->setPalette(palette);
    info_->setText(ok ? ReadAsText(result_) : empty ? QString() : result_.Message);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(ok);
}
