#pragma once
// Control ids of the partial delivery dialog "BUNNOU", the existing data
// browser "KISONDLG", its row editor "HENSHU" and the bulk change of
// payment terms "SITEDLG" (context help and the tests find the controls by
// them).

namespace belvorine {

namespace partial_delivery {
enum ControlId : int {
    kBeforeLabel = 1130,
    kBefore = 1131,
    kPartLabel1 = 1132,  // 1132 to 1136
    kPart1 = 1137,       // 1137 to 1141
    kAfterLabel = 1142,
    kAfter = 1143,
    kNote = 1144,
    kOk = 1145,
    kCancel = 1146,
    kHelp = 1147,
};
}  // namespace partial_delivery

namespace existing_data {
enum ControlId : int {
    kCounterpartyLabel = 1150,
    kList = 1151,
    kCounterparty = 1152,
    kOk = 1153,
    kCancel = 1154,
    kHelp = 1155,
    kEdit = 1156,
    kDelete = 1157,
    kBulkChange = 1158,
    kExport = 1159,  // the list as CSV, beside the original controls
};
}  // namespace existing_data

namespace row_editor {
enum ControlId : int {
    kPaymentLabel = 1160,
    kNote = 1161,
    kNoteDays = 1162,
    kDaysLabel = 1163,
    kLease = 1164,
    kCash = 1165,
    kNameLabel = 1166,
    kName = 1167,
    kQuantityLabel = 1168,
    kQuantity = 1169,
    kUnit = 1170,
    kUnitPriceLabel = 1171,
    kUnitPrice = 1172,
    kPlaceLabel = 1173,
    kPlace = 1174,
    kOk = 1175,
    kCancel = 1176,
    kHelp = 1177,
};
}  // namespace row_editor

namespace bulk_payment {
enum ControlId : int {
    kCounterpartyLabel = 1180,
    kCounterparty = 1181,
    kPaymentGroup = 1182,
    kNote = 1184,
    kLease = 1185,
    kCash = 1186,
    kNoteDays = 1187,
    kDaysLabel = 1188,
    kOk = 1189,
    kCancel = 1190,
    kHelp = 1191,
};
}  // namespace bulk_payment

}  // namespace belvorine
