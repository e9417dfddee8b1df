#include "widgets/context_help.h"

#include <algorithm>
#include <array>

namespace belvorine {
namespace {

// Controls of every dialog that have a pop-up text of their own
// (help id = control id + 10000).
constexpr std::array kOwnHelp = {
    // data entry
    1001, 1003, 1004, 1006, 1007, 1009, 1010, 1013, 1017, 1019, 1021, 1022, 1023,
    1031, 1032, 1033, 1034, 1035, 1041, 1042, 1043, 1044, 1045, 1051, 1052, 1053, 1054, 1055,
    1061, 1062, 1063, 1064, 1065, 1071, 1072, 1073, 1074, 1075, 1081, 1082, 1083, 1084, 1085,
    1091, 1092, 1093, 1094, 1095, 1101, 1102, 1103, 1104, 1105, 1111, 1112, 1113, 1114,
    1121, 1122, 1123, 1124, 1125, 1126,
    // partial delivery
    1131, 1137, 1138, 1139, 1140, 1141, 1143, 1145, 1146, 1147,
    // existing data, row editor, bulk change of payment terms
    1151, 1152, 1153, 1154, 1155, 1156, 1157, 1158,
    1161, 1162, 1164, 1165, 1167, 1169, 1170, 1172, 1174, 1175, 1176, 1177,
    1181, 1184, 1185, 1186, 1187, 1189, 1190, 1191,
    // company profile
    1201, 1203, 1205, 1207, 1209, 1211, 1212, 1213, 1214,
    // page setup
    1301, 1302, 1303, 1304, 1305, 1306, 1310, 1311, 1315, 1316, 1317, 1318, 1319,
    // print setup
    1331, 1334, 1336, 1338, 1339, 1342, 1344, 1347, 1349, 1352, 1354, 1357, 1359,
    1361, 1362, 1363,
    // print confirmation
    1382, 1384, 1386, 1388, 1390, 1393, 1394, 1395, 1396, 1397, 1399, 1400, 1401,
    // item properties
    1410, 1412, 1414, 1416, 1418, 1420, 1422, 1424, 1426, 1427, 1429, 1430, 1433,
    1435, 1436, 1438, 1439, 1442, 1443, 1444, 1446, 1447, 1448, 1449, 1451, 1452,
    1453, 1454, 1455, 1456, 1457, 1458, 1459, 1460,
    // zoom
    1470, 1471, 1472, 1473, 1474,
};

// Labels, group boxes and auxiliary controls: all share one pop-up text.
constexpr std::array kSharedHelp = {
    1002, 1005, 1008, 1011, 1012, 1014, 1015, 1016, 1018, 1020, 1030, 1040, 1060, 1070,
    1080, 1090, 1130, 1132, 1133, 1134, 1135, 1136, 1142, 1144, 1150, 1160, 1163, 1166,
    1168, 1171, 1173, 1180, 1182, 1183, 1188, 1200, 1202, 1204, 1206, 1208, 1210, 1300,
    1307, 1308, 1309, 1312, 1313, 1314, 1330, 1332, 1333, 1335, 1337, 1340, 1341, 1343,
    1345, 1346, 1348, 1350, 1351, 1353, 1355, 1356, 1358, 1360, 1380, 1381, 1383, 1385,
    1387, 1389, 1391, 1392, 1398, 1411, 1413, 1415, 1417, 1419, 1421, 1423, 1425, 1428,
    1431, 1432, 1434, 1437, 1440, 1441, 1445, 1450,
};

std::vector<std::pair<int, int>> buildMap() {
    std::vector<std::pair<int, int>> map;
    for (int id : kOwnHelp) {
        map.emplace_back(id, id + 10000);
    }
    for (int id : kSharedHelp) {
        map.emplace_back(id, kSharedHelpId);
    }
    std::sort(map.begin(), map.end());
    map.emplace_back(0, 0);
    return map;
}

}  // namespace

const std::vector<std::pair<int, int>>& contextHelpMap() {
    static const std::vector<std::pair<int, int>> map = buildMap();
    return map;
}

int helpIdForControl(int controlId) {
    const auto& map = contextHelpMap();
    const auto end = map.end() - 1;  // the terminating pair
    const auto found = std::lower_bound(map.begin(), end, std::make_pair(controlId, 0));
    return found != end && found->first == controlId ? found->second : 0;
}

}  // namespace belvorine
