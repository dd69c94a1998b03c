#pragma once

#include <optional>
#include <span>
#include <string>

#include "book/book.h"
#include "engine/column_calculator.h"
#include "engine/column_design.h"
#include "engine/section/section_check.h"

namespace tessarin {

// Who and what a calculation book is for: the title page and the running header.
struct BookInfo {
    std::string project;       // 工程名称; empty leaves the line to be filled in by hand
    std::string columnId;      // 构件编号
    std::string date;          // 计算日期, e.g. "2026-12-09"
    std::string subProject{};  // 子项 / 设计号
    std::string designer{};    // 设计, 校对, 审核: the names, or empty for a line to sign on
    std::string checker{};
    std::string reviewer{};
};

// One designed case of a book: the design of both steps, the input line it came from
// (batch; 0 for a single case), and the section check when it ran.
struct BookCase {
    ColumnDesign design;
    double diameter = 22.0;  // the corner-bar diameter of scheme 1, mm
    double ratioX = 0.0;     // Aswx / Asx of scheme 2
    double ratioY = 0.0;     // Aswy / Asy of scheme 2
    long long line = 0;
    std::optional<SectionCheckResult> check;
};

// The calculation book of one column: title block, then per case the inputs, the materials,
// every step with its formula and the numbers put in (the report's "%f" figures), the results,
// the section to scale with its bars and, where the section check ran, the Mx-My contour with
// the demand and the utilisation. Several cases (the load combinations of one column id) get a
// chapter each and a closing table of the governing areas.
Book buildDesignBook(const BookInfo& info, std::span<const BookCase> cases);

// The title page of a book: the info, the program and version, the method and the codes it
// follows (设计依据).
BookCover bookCover(const BookInfo& info, std::string method, std::vector<std::string> basis);

// 设计依据 as the books list them.
inline constexpr const char* kBasis2002 = "《混凝土结构设计规范》GB 50010-2002";
inline constexpr const char* kBasis2010 = "《混凝土结构设计规范》GB 50010-2010（2015年版）";
inline constexpr const char* kBasisSeismic = "《建筑抗震设计规范》GB 50011-2010（2016年版）";

// The program and version named in the title block.
std::string programVersionText();

// Today's date in the local time zone as YYYY-MM-DD.
std::string todayText();

// One pass of the equivalent-steel iteration, as the book lists it (the engine's own record).
using IterationPass = EquivalentSteelPass;

// The passes of one direction of a design's step 1: the engine's iteration run again from the
// design's case and watched pass by pass.
std::vector<IterationPass> traceEquivalentSteel(const ColumnDesign& design, Direction direction);

}  // namespace tessarin
