#include "archive/counterparty_key.h"

namespace belvorine {

QString counterpartyKey(const QString& counterparty) {
    // NFKC makes full-width letters and digits half-width, half-width kana
    // full-width, and ㈱ and （株） the same "(株)".
    QString key = counterparty.normalized(QString::NormalizationForm_KC);
    for (const char* form : {"株式会社", "有限会社", "(株)", "(有)"}) {
        key.remove(QString::fromUtf8(form));
    }
    QString folded;
    folded.reserve(key.size());
    for (const QChar c : key) {
        if (!c.isSpace()) {
            folded += c;
        }
    }
    return folded.toCaseFolded();
}

}  // namespace belvorine
