// The templates and rules both desktops build from (views/): the facts each desktop relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "report/bar_preference_fields.h"
#include "run/control_id.h"
#include "views/dialog_templates.h"
#include "views/field_exchange_rules.h"
#include "views/pictures.h"

namespace tessarin {
namespace {

const DialogTemplate* const kTemplates[] = {&kAboutTemplate, &kMainTemplate, &kSchemeTemplate,
                                            &kPrincipleDiagramTemplate, &kBarPreferencesTemplate};

TEST(Views, EveryNumberedControlIsUniqueAndEveryControlLiesInsideItsDialog) {
    for (const DialogTemplate* dialog : kTemplates) {
        std::set<int> ids;
        for (const ControlTemplate& item : dialog->controls) {
            if (item.id != kStaticId) {
                EXPECT_TRUE(ids.insert(item.id).second) << dialog->number << ": " << item.id;
            }
            EXPECT_GE(item.x, 0);
            EXPECT_GE(item.y, 0);
            // The open list may reach below the dialog; the closed one (14 units) may not.
            const int height = item.kind == ControlKind::DropList ? 14 : item.height;
            EXPECT_LE(item.x + item.width, dialog->width) << dialog->number << ": " << item.caption;
            EXPECT_LE(item.y + height, dialog->height) << dialog->number << ": " << item.caption;
        }
    }
}

TEST(Views, EachDialogHasOneDefaultButtonAndItsPicturesAreKnown) {
    struct Case {
        const DialogTemplate* dialog;
        int defaultButton;
    };
    // 100 and 130 and 131: OK (1); 102: "计算" (1010).
    const Case cases[] = {{&kAboutTemplate, kIdOk},
                          {&kMainTemplate, idOf(ControlId::Calculate)},
                          {&kSchemeTemplate, kIdOk},
                          {&kPrincipleDiagramTemplate, kIdOk},
                          {&kBarPreferencesTemplate, kIdOk}};
    for (const Case& c : cases) {
        int defaults = 0;
        for (const ControlTemplate& item : c.dialog->controls) {
            if (item.kind == ControlKind::DefaultButton) {
                ++defaults;
                EXPECT_EQ(item.id, c.defaultButton) << c.dialog->number;
            }
            if (item.kind == ControlKind::Picture) {
                EXPECT_NE(findPicture(item.caption), nullptr) << item.caption;
            }
        }
        EXPECT_EQ(defaults, 1) << c.dialog->number;
    }
    // Bitmaps 129 and 133 by their names.
    EXPECT_EQ(findPicture("principle_diagram_129")->number, 129);
    EXPECT_EQ(findPicture("scheme_sketch_133")->number, 133);
    EXPECT_EQ(findPicture("scheme_sketch"), nullptr);
}

TEST(Views, MainTabOrderIsTheTemplateOrder) {
    // Fields 1000 to 1007, the lists 1008 and 1009, then 1010, 2, 1012 and the result box 1015.
    const int expected[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006,
                            1007, 1008, 1009, 1010, 2,    1012, 1015};
    std::vector<int> tabStops;
    for (const ControlTemplate& item : kMainTemplate.controls) {
        if (item.kind == ControlKind::Edit || item.kind == ControlKind::DropList ||
            item.kind == ControlKind::PushButton || item.kind == ControlKind::DefaultButton ||
            item.kind == ControlKind::ResultBox) {
            tabStops.push_back(item.id);
        }
    }
    EXPECT_EQ(tabStops, std::vector<int>(std::begin(expected), std::end(expected)));
}

// 配筋参数: one control per field of the table, numbered by its index, in its order: a check
// box captioned with the label for a yes/no field, else an edit after a label "label：".
TEST(Views, BarPreferencesTemplateFollowsTheFieldTable) {
    const auto& controls = kBarPreferencesTemplate.controls;
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        const int id = kIdPreferenceFirst + static_cast<int>(i);
        const auto found = std::find_if(controls.begin(), controls.end(),
                                        [id](const ControlTemplate& c) { return c.id == id; });
        ASSERT_NE(found, controls.end()) << i;
        const std::string label = kBarPreferenceFields[i].label;
        if (kBarPreferenceFields[i].kind == BarPreferenceKind::Switch) {
            EXPECT_EQ(found->kind, ControlKind::CheckBox) << i;
            EXPECT_EQ(found->caption, label);
        } else {
            EXPECT_EQ(found->kind, ControlKind::Edit) << i;
            ASSERT_NE(found, controls.begin());
            EXPECT_EQ((found - 1)->caption, label + "：");
        }
        if (i > 0) {
            const int before = id - 1;
            EXPECT_TRUE(std::find_if(
                            controls.begin(), found,
                            [before](const ControlTemplate& c) { return c.id == before; }) != found)
                << i;
        }
    }
    // The follow box comes first in the tab order.
    EXPECT_EQ(controls.front().id, kIdFollowProject);
}

TEST(Views, TheExchangeTakesEveryNumberOnceInItsOrder) {
    // M0x, ax, ay, b, h, l0, M0y, N: the order the first rejected field cuts.
    const ControlId expected[] = {ControlId::M0x, ControlId::Ax, ControlId::Ay,  ControlId::B,
                                  ControlId::H,   ControlId::L0, ControlId::M0y, ControlId::N};
    ASSERT_EQ(std::size(kMainExchangeOrder), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(kMainExchangeOrder[i].control, expected[i]) << i;
    }
    DesignInput input;
    input.M0x = 1.0;
    EXPECT_EQ(input.*kMainExchangeOrder[0].member, 1.0);
}

TEST(Views, FieldMessagesNameTheBounds) {
    EXPECT_EQ(notANumberText(), "请输入一个数。");
    EXPECT_EQ(outOfRangeText(0.0, 1.0), "请输入一个介于 0 和 1 之间的数。");
    EXPECT_EQ(outOfRangeText(0.5, 2.25), "请输入一个介于 0.5 和 2.25 之间的数。");
}

}  // namespace
}  // namespace tessarin
