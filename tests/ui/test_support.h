#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "run/control_id.h"
#include "ui/main_dialog.h"

namespace tessarin {

// Small accessors shared by the dialog tests.
inline QLineEdit* fieldOf(const MainDialog& dialog, ControlId id) {
    return qobject_cast<QLineEdit*>(dialog.control(id));
}

inline QComboBox* listOf(const MainDialog& dialog, ControlId id) {
    return qobject_cast<QComboBox*>(dialog.control(id));
}

// Shows a dialog and makes it the active window, so that focus and keys behave as on screen.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The control number of a widget of the main dialog, -1 when it is none of the numbered ones.
inline int controlNumberOf(const MainDialog& dialog, const QWidget* widget) {
    for (int id :
         {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 2, 1012, 1015}) {
        if (dialog.control(static_cast<ControlId>(id)) == widget) return id;
    }
    return -1;
}

// The start-up case's report lines the tests look for (values as the report prints them).
inline const char* const kStartupStep1Lines[] = {
    "柱计算长度(mm)：l0 = 6000.000000",
    "柱截面宽度(mm)：b  = 400.000000",
    "柱截面高度(mm)：h  = 600.000000",
    "柱截面在X轴方向的弯矩M0x(kN.m):   M0x = 244.000000",
    "柱截面在Y轴方向的弯矩M0y(kN.m):   M0y = 120.000000",
    "柱截面轴力(kN):\t\t\t   N  = 400.000000",
    "混凝土强度等级：C30.000000\tfc=14.300000",
    "钢筋强度等级：\t热轧钢筋HRB400\tfy=360.000000",
    "在x方向的偏心距增大系数：ηx=1.063492",
    "在y方向的偏心距增大系数：ηy=1.180804",
    "作用于x轴偏心受压承载力设计值(N)：Nux=714790.199442",
    "作用于y轴偏心受压承载力设计值(N)：Nuy=757241.482514",
    "纵向等效钢筋面积(mm*mm)：Asex=1652.756707",
    "纵向等效钢筋面积(mm*mm)：Asey=1462.041321",
};

}  // namespace tessarin
