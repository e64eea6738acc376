#include "mp3fixtures.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace tavtest {

bool makeMp3(const QString &path, double seconds, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                  QStringLiteral("-nostdin"), QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                  QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=22050:duration=%1").arg(seconds),
                  QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-b:a"), QStringLiteral("32k"),
                  QStringLiteral("-f"), QStringLiteral("mp3"), path});
    if (!ffmpeg.waitForFinished(20000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        if (error)
            *error = QString::fromLocal8Bit(ffmpeg.readAllStandardError()) + ffmpeg.errorString();
        return false;
    }
    return QFileInfo(path).size() > 0;
}

bool copyFile(const QString &from, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    return QFile::copy(from, path);
}

} // namespace tavtest
