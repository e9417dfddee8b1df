#pragma once
// "記録の取消": asks why an issued document is voided. The reason is kept
// in the register for good, so it must be given.

#include <optional>

#include <QString>

class QWidget;

namespace belvorine {

struct RegisterEntry;

// The reason typed for voiding `entry`; nullopt when the user cancelled.
std::optional<QString> askVoidReason(QWidget* owner, const RegisterEntry& entry);

}  // namespace belvorine
