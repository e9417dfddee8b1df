#pragma once
// After a print: the issued document goes into the archive, and a failure
// to keep it is told (what, where, why) while the print and the history
// stand as they are.

class QWidget;

namespace belvorine {

struct IssuedDocument;

// Keeps `issued` when the print filled it in (pages > 0); does nothing
// otherwise. Returns 0 when the archive failed and the user was told.
int keepIssuedDocument(QWidget* owner, const IssuedDocument& issued);

}  // namespace belvorine
