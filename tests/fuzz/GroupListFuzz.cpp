#include "tests/fuzz/GroupListFuzz.h"

#include "records/GroupList.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

void fuzzReadGroupList(const QString &FileName)
{
    static const TGroupListOptions options = [] {
        TGroupListOptions o;
        for (int i = 1; i <= 10; ++i)
            o.SubjectNames << QStringLiteral("Предмет %1").arg(i);
        o.SubjectNames[3] = QStringLiteral("Первая помощь при ДТП");
        for (int i = 0; i < 10; ++i)
            o.GradeTexts << QStringList{QStringLiteral("Отлично"), QStringLiteral("Хорошо"),
                                        QStringLiteral("Удовл."), QStringLiteral("Х")};
        o.GradeTexts[9] = QStringList{QStringLiteral("Зачтено"), QStringLiteral("Не зачтено")};
        return o;
    }();
    try {
        const TGroupList list = readGroupList(FileName, options);
        qsizetype size = list.Headers.size() + list.Sheets.size() + list.UnknownColumns.size() + list.Problems.size();
        for (const TGroupTrainee &t : list.Trainees) {
            size += t.FullName.size() + t.Surname.size() + t.Name.size() + t.Patronymic.size() + t.Sex.size()
                  + t.Snils.size() + t.TrainingStart.day() + t.TrainingEnd.day() + t.BirthDate.day();
            for (const QString &grade : t.Grades)
                size += grade.size();
        }
        if (size < 0)
            std::abort();
    } catch (const EGroupListError &) {
    }
}

QString fuzzWriteFile(const QString &Name, const QByteArray &Bytes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(Name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(Bytes) != Bytes.size())
        std::abort();
    return path;
}
