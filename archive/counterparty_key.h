#pragma once
// The counterparty as the register's search compares it: full-width and
// half-width forms alike, the company form (株式会社, (株), ㈱, 有限会社,
// (有), ㈲) and blanks left out, letters case-folded. "ﾔﾏﾀﾞ ｼｮｳｼﾞ(株)" and
// "株式会社　ヤマダショウジ" have the same key.

#include <QString>

namespace belvorine {

QString counterpartyKey(const QString& counterparty);

}  // namespace belvorine
