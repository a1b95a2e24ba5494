#pragma once
// The school's settings for the federal register export: what a driving
// school's certificates are in the register's terms. Every value has a
// default that fits a driving school, so that an export works before
// anyone has looked at them.

#include <QList>
#include <QPair>
#include <QString>

class TIniFile;

struct TFrdoSettings {
    QString DocumentKind = QStringLiteral("Свидетельство о профессии рабочего, должности служащего");
    QString ProgrammeKind = QStringLiteral("Программа профессиональной подготовки по профессиям рабочих, должностям служащих");
    // Empty: each certificate's programme is named from its own programme
    // line (edit_6): ProgrammeNameStart + " " + that line.
    QString ProgrammeName;
    QString Profession = QStringLiteral("Водитель автомобиля");
    QString StudyForm = QStringLiteral("Очная");
    QString Financing = QStringLiteral("Платное обучение");
    QString EducationForm = QStringLiteral("В организации, осуществляющей образовательную деятельность");

    bool operator==(const TFrdoSettings &) const = default;
};

// The beginning of a programme's name, which the certificate's programme
// line completes ("категории «B»").
inline const QString ProgrammeNameStart = QStringLiteral("Профессиональная подготовка водителей транспортных средств");

// The forms of training the register knows.
QList<QString> frdoStudyForms();

// The section of the program's settings file that keeps them.
inline const QString FrdoSettingsSection = QStringLiteral("FederalExport");
// Reads them from Settings; a key missing or empty gives its default
// (the programme's name: empty, named per certificate).
TFrdoSettings readFrdoSettings(const TIniFile &Settings);
// Writes every value into Settings (not yet saved: UpdateFile).
void writeFrdoSettings(TIniFile &Settings, const TFrdoSettings &Values);
