#include "JolietNameRules.h"

#include <set>

#include "NameText.h"

namespace JolietNameRules {

QString Shorten(const QString& name, const QString& mark) {
    const qsizetype dot = name.lastIndexOf(u'.');
    // An extension that would leave little of the name is not kept.
    const bool keepExtension = dot > 0 && name.size() - dot <= kJolietNameLimit / 4;
    const QString extension = keepExtension ? name.mid(dot) : QString();
    const qsizetype room = kJolietNameLimit - extension.size() - mark.size();
    QString base = (keepExtension ? name.left(dot) : name).left(room);
    if (!base.isEmpty() && base.back().isHighSurrogate()) base.chop(1);
    return base + mark + extension;
}

std::vector<QString> Names(const std::vector<QString>& names) {
    std::vector<QString> result = names;
    std::set<QString> taken;
    for (const QString& name : names)
        if (name.size() <= kJolietNameLimit) taken.insert(NameText::CaseKey(name));
    for (QString& name : result) {
        if (name.size() <= kJolietNameLimit) continue;
        QString candidate = Shorten(name);
        for (int counter = 2; !taken.insert(NameText::CaseKey(candidate)).second; ++counter)
            candidate = Shorten(name, u'~' + QString::number(counter));
        name = candidate;
    }
    return result;
}

}  // namespace JolietNameRules
