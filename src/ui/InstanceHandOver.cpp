// The part of InstanceHandOver that every system shares: the message.
#include "InstanceHandOver.h"

QByteArray InstanceHandOver::Message(const QStringList& arguments) {
    QByteArray message;
    for (const QString& argument : arguments) message += argument.toUtf8() + '\0';
    return message;
}

QStringList InstanceHandOver::Arguments(const QByteArray& message) {
    QStringList arguments;
    qsizetype start = 0;
    for (qsizetype end = message.indexOf('\0'); end >= 0;
         start = end + 1, end = message.indexOf('\0', start))
        arguments << QString::fromUtf8(message.mid(start, end - start));
    return arguments;
}
