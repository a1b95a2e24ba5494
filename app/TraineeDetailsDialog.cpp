#include "app/TraineeDetailsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

const QString DateFormat = QStringLiteral("dd.MM.yyyy");

QLineEdit *field(QWidget *Parent, const char *Name, const QString &Text)
{
    auto *edit = new QLineEdit(Text, Parent);
    edit->setObjectName(QLatin1String(Name));
    return edit;
}

} // namespace

TTraineeDetailsDialog::TTraineeDetailsDialog(const TTraineeDetails &Details, const QString &FullName, QWidget *Parent)
    : QDialog(Parent), FFullName(FullName)
{
    setWindowTitle(QStringLiteral("Сведения о получателе"));
    const TPersonName name = Details.NameOf(FullName);
    auto *form = new QFormLayout(this);
    SurnameE = field(this, "SurnameE", name.Surname);
    NameE = field(this, "NameE", name.Name);
    PatronymicE = field(this, "PatronymicE", name.Patronymic);
    BirthE = field(this, "BirthE", Details.BirthDate.isValid() ? Details.BirthDate.toString(DateFormat) : QString());
    BirthE->setPlaceholderText(QStringLiteral("дд.мм.гггг"));
    SexCB = new QComboBox(this);
    SexCB->setObjectName(QStringLiteral("SexCB"));
    SexCB->addItems({QString(), QStringLiteral("М"), QStringLiteral("Ж")});
    SexCB->setCurrentIndex(std::max(0, SexCB->findText(Details.Sex)));
    SnilsE = field(this, "SnilsE", Details.Snils);
    SnilsE->setPlaceholderText(QStringLiteral("000-000-000 00"));
    CitizenshipE = field(this, "CitizenshipE", Details.Citizenship);
    CitizenshipE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), this));
    form->addRow(QStringLiteral("&Фамилия:"), SurnameE);
    form->addRow(QStringLiteral("&Имя:"), NameE);
    form->addRow(QStringLiteral("&Отчество:"), PatronymicE);
    form->addRow(QStringLiteral("Дата &рождения:"), BirthE);
    form->addRow(QStringLiteral("&Пол:"), SexCB);
    form->addRow(QStringLiteral("&СНИЛС:"), SnilsE);
    form->addRow(QStringLiteral("&Гражданство (код страны):"), CitizenshipE);
    FaultL = new QLabel(this);
    FaultL->setObjectName(QStringLiteral("FaultL"));
    FaultL->setStyleSheet(QStringLiteral("color: #b00000"));
    FaultL->setWordWrap(true);
    form->addRow(FaultL);
    FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    FButtons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    FButtons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(FButtons);
    for (QLineEdit *edit : {BirthE, SnilsE, CitizenshipE})
        connect(edit, &QLineEdit::textChanged, this, &TTraineeDetailsDialog::Check);
    Check();
}

QString TTraineeDetailsDialog::Fault() const
{
    QStringList faults;
    if (const QString snils = snilsFault(SnilsE->text()); !snils.isEmpty())
        faults << snils;
    const QString birth = BirthE->text().trimmed();
    const QDate date = QDate::fromString(birth, DateFormat);
    if (!birth.isEmpty() && !date.isValid())
        faults << QStringLiteral("Дата рождения «%1» не читается: нужно дд.мм.гггг.").arg(birth);
    else if (const QString fault = birthDateFault(date, QDate::currentDate()); !fault.isEmpty())
        faults << fault;
    if (const QString code = CitizenshipE->text().trimmed(); !code.isEmpty() && code.size() != 3)
        faults << QStringLiteral("Код страны — три цифры (Россия — 643).");
    return faults.join(u'\n');
}

void TTraineeDetailsDialog::Check()
{
    const QString fault = Fault();
    FaultL->setText(fault);
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(fault.isEmpty());
}

TTraineeDetails TTraineeDetailsDialog::Details() const
{
    TTraineeDetails d;
    d.Surname = SurnameE->text().simplified();
    d.Name = NameE->text().simplified();
    d.Patronymic = PatronymicE->text().simplified();
    const TPersonName split = splitFullName(FFullName);
    if (d.Surname == split.Surname && d.Name == split.Name && d.Patronymic == split.Patronymic)
        d.Surname = d.Name = d.Patronymic = QString();
    d.BirthDate = QDate::fromString(BirthE->text().trimmed(), DateFormat);
    d.Sex = SexCB->currentText();
    const QString digits = snilsDigits(SnilsE->text());
    d.Snils = digits.isEmpty() ? SnilsE->text().trimmed() : formatSnils(digits);
    const QString citizenship = CitizenshipE->text().trimmed();
    d.Citizenship = citizenship.isEmpty() ? TTraineeDetails::DefaultCitizenship : citizenship;
    return d;
}
