#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <map>

#include "batch/schedule_outputs.h"
#include "report/bar_preference_fields.h"
#include "run/input_parsers.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr const char* kDescription =
    "tessarin-cli: designs the longitudinal reinforcement of a rectangular reinforced-concrete\n"
    "column under biaxial eccentric compression, as the desktop program's calculate button does.\n"
    "It writes the calculation report Result.txt (GBK text, CR LF) in the current directory and\n"
    "prints the same report on stdout as UTF-8 text with LF line ends.\n";

constexpr const char* kFooter =
    "Batch design: tessarin-cli --batch columns.csv [--out results.csv] [--reports DIR]\n"
    "  The CSV file (RFC 4180, UTF-8, optional byte-order mark) names its columns in the first\n"
    "  line, in any order: id, l0, b, h, M0x, M0y, N, ax, ay, concrete, steel are required;\n"
    "  scheme, diameter, ratio_x, ratio_y are optional (default 1, 22, 0, 0). Rows that share an\n"
    "  id are the load combinations of one column. Each row is checked and designed as a single\n"
    "  case; the results CSV has one row per input row (line, inputs, every result, passes,\n"
    "  convergence, status: ok, warning: ..., rejected: ...) and one envelope row per id with\n"
    "  the largest Asex, Asey, Asx, Asy, Aswx, Aswy and the lines that govern them. --reports\n"
    "  writes each accepted row's report as DIR/<id>-<line>.txt, bytes outside A-Z a-z 0-9 _ -\n"
    "  of the id (and a leading dot) written as %XX. --books DIR writes one calculation book per\n"
    "  id as DIR/<id>-<first line>.html (with --book-format pdf or docx: .pdf or .docx). Exit\n"
    "  codes: 0 all rows accepted, 4 some rows rejected, 2 usage error, unusable header or an\n"
    "  output that is the input, 3 a file could not be read or written.\n"
    "\n"
    "Current-code batch: tessarin-cli --batch columns.csv --code 2010 [--out] [--reports DIR]\n"
    "  [--dxf DIR] [--books DIR [--book-format F]]. The rows of an id are the load combinations\n"
    "  of one column, which share its section, lengths and materials; one layout per id carries\n"
    "  them all. Required: id, l0, b, h, M0x, M0y, N, concrete, steel; optional: m1m2_x, m1m2_y,\n"
    "  lc_x, lc_y, hn, cover, stirrup, seismic, structure, position, stirrup_steel, vx, vy (kN)\n"
    "  and kind (seismic, non-seismic; blank unspecified) (as the flags; blank is the default),\n"
    "  and the bar preferences bars, min_middle_bar, max_size_step, middle_bars_may_differ,\n"
    "  square_same_bars, preferred_bar (as --bars, --min-middle-bar, ...; see\n"
    "  docs/bar_preferences.md).\n"
    "  One combination row per input row (demand, utilisation, shear utilisation) and one layout\n"
    "  row per id (bars, As, rho, governing line, stirrups). --reports, --dxf and --books write\n"
    "  DIR/<id>-<first line>.txt, .dxf and .html (or .pdf, .docx) per column. Exit 5 when every\n"
    "  row was accepted but no layout fits some columns.\n"
    "  --schedule FILE (also with --open) writes the column schedule (柱表, 16G101-1 list\n"
    "  notation) of every column: FILE.dxf the table drawn with each distinct section detail,\n"
    "  FILE.html, .pdf or .docx the table as a book; the results CSV carries its cells too.\n"
    "\n"
    "Project: tessarin-cli --open FILE.tsn [--out] [--reports DIR] [--dxf DIR] [--books DIR]\n"
    "  designs every column of a project file (written by the desktop program's project window,\n"
    "  or by another program: see docs/project_file.md) exactly as --batch --code 2010 designs\n"
    "  the same columns as a cases file: the same result columns, values, files and exit codes.\n"
    "  \"line\" is the line of the project's combination when written as a cases file (header on\n"
    "  line 1, then the combinations column after column). The books carry the project's name\n"
    "  (--project overrides it). A damaged or newer file is refused (exit 3, the file, line and\n"
    "  field on stderr). tessarin-cli --batch FILE --code 2010 --save-project P [--project NAME]\n"
    "  turns a cases file into a project file P (written whole, never through a link) and\n"
    "  designs nothing; a row that cannot be read is refused with its line (exit 1).\n"
    "\n"
    "Section check: --check verifies the designed layout by a strain-compatibility analysis\n"
    "  (parabola-rectangle concrete, elastic-plastic steel, plane sections) and prints a\n"
    "  \"截面验算\" block after the report: N0, N/N0, the ultimate moment in the direction of the\n"
    "  design moment, the utilisation |M|/|MR|, the steel ratios and their warnings. Result.txt\n"
    "  is unchanged. With --batch it adds the columns utilisation, N0, rho, checkFlags and\n"
    "  governsUtilisation.\n"
    "\n"
    "Current-code design: tessarin-cli --code 2010 [flags] [--json] [--dxf FILE] [--book FILE]\n"
    "  Designs the bars by GB 50010-2010 (2015) with the seismic detailing of GB 50011-2010\n"
    "  (2016): second-order effects by Cm-etaNs, every symmetric layout of 12 to 40 mm bars that\n"
    "  meets the detailing rules, the lightest that carries the load by strain compatibility with\n"
    "  the real bars, then the stirrups (shear 6.3.11-6.3.17 with --V-x, --V-y, detailing 9.3.2\n"
    "  and GB 50011 6.3.7, 6.3.9) in the notation of drawings (C8@100/200). A seismic combination\n"
    "  (--seismic-combination yes) divides the capacities by gammaRE (bending 0.75/0.80, shear\n"
    "  0.85). --M0x and --M0y are the larger end moments M2x and M2y; --concrete takes\n"
    "  C20 to C80, --steel HPB300, HRB335, HRB400 or HRB500; --ax, --ay, --scheme, --diameter,\n"
    "  --ratio-x, --ratio-y and --check do not apply. It writes Result-GB2010.txt (GBK, CR LF)\n"
    "  and prints the report, or with --json one JSON object. Exit codes as below, and 5 when no\n"
    "  layout fits (the reason on stderr, in the report, in the JSON and in the book).\n"
    "\n"
    "Calculation book: --book FILE.html|FILE.pdf|FILE.docx also writes the book of the case: title "
    "block\n"
    "  (--project, --id, date, version), inputs, materials, every step with its formula and the\n"
    "  numbers put in, the results, the section to scale with its bars and, with --check, the\n"
    "  Mx-My contour with the demand and the utilisation. With --code 2010 it is the book of\n"
    "  the current-code design: per combination and axis the second-order steps, the layout in\n"
    "  its notation with As, rho and the limits met, every bar drawn where it lies, the check of\n"
    "  every combination and the contour at the governing N; without a layout it says why.\n"
    "  HTML is self-contained; a Word book (.docx) has Word's heading styles, the page header\n"
    "  and footer and the pictures as drawing shapes; a PDF is made by tessarin-book of the\n"
    "  desktop build, found beside tessarin-cli (on Windows by tessarin-cli itself). The book is\n"
    "  written whole or not at all (exit 3 with the file name and the\n"
    "  reason); Result.txt and Result-GB2010.txt are the same as without it.\n"
    "\n"
    "Section drawing: with --code 2010, --dxf FILE also writes the section detail (outline,\n"
    "  stirrup, every bar, dimensions, flat notation) as a DXF drawing, whole or not at all\n"
    "  (exit 3 with the name and reason when it cannot).\n"
    "\n"
    "Every flag defaults to the desktop program's start value; the bar arrangement defaults to\n"
    "scheme 1 with 22 mm corner bars (OK at once in the scheme dialog). Numbers: optional sign,\n"
    "digits with an optional decimal point, optional exponent (6000, 6e3, -0.5); nothing else.\n"
    "\n"
    "The input is checked as the desktop program checks it. A section side off its module (50 mm\n"
    "up to 800 mm, 100 mm above) is a warning on stderr and the run goes on with the value.\n"
    "\n"
    "Exit codes:\n"
    "  0  done (warnings, such as an iteration that did not converge, on stderr)\n"
    "  1  the input was rejected by a check (its message on stderr; Result.txt untouched)\n"
    "  2  usage error (unknown flag, missing value, not a number, value out of range)\n"
    "  3  Result.txt could not be written or read, or the book could not be written (file name\n"
    "     and the system's reason on stderr)\n";

// The help's sections. Each mode of the command takes the flags of some of them: a single case
// the design case and its edition's flags, a batch its own group and per edition --check or --dxf.
// A new flag joins the group of the mode it belongs to (a batch's flag kBatchGroup, a current-code
// input kCodeGroup, which makes it "goes with --code 2010" without the edition); a flag in no group
// counts as a single case's, which a batch and a project refuse.
constexpr const char* kCaseGroup = "Design case (both editions)";
constexpr const char* k2002Group = "2002 design (not with --code 2010)";
constexpr const char* kCodeGroup = "Current-code design (with --code 2010)";
constexpr const char* kBookGroup = "Calculation book";
constexpr const char* kBatchGroup = "Batch design";
constexpr const char* kProjectGroup = "Projects";

struct NumberFlag {
    const char* name;
    const char* help;
    double DesignInput::*field;
    const char* group;
};

constexpr NumberFlag kNumberFlags[] = {
    {"--l0", "effective length l0, mm (6000)", &DesignInput::l0, kCaseGroup},
    {"--b", "section width b, mm (400)", &DesignInput::b, kCaseGroup},
    {"--h", "section height h, mm (600)", &DesignInput::h, kCaseGroup},
    {"--M0x", "moment in the x direction M0x, kN*m (244)", &DesignInput::M0x, kCaseGroup},
    {"--M0y", "moment in the y direction M0y, kN*m (120)", &DesignInput::M0y, kCaseGroup},
    {"--N", "axial compression N, kN (400)", &DesignInput::N, kCaseGroup},
    {"--ax", "distance from the resultant of Asx to the near edge ax, mm (40)", &DesignInput::ax,
     k2002Group},
    {"--ay", "distance from the resultant of Asy to the near edge ay, mm (40)", &DesignInput::ay,
     k2002Group},
};

// The current-code design's own inputs, kept as text until the edition is known.

// The project modes: each takes only the flags listed, and says why it refuses another.
struct ProjectMode {
    const char* lead;
    std::vector<std::string> takes;
    const char* why;
};

const ProjectMode kOpenMode{
    "--open",
    {"--out", "--reports", "--dxf", "--books", "--project", "--code", "--schedule"},
    ": a project file holds every column and its data"};
const ProjectMode kSaveProjectMode{"--save-project",
                                   {"--batch", "--code", "--project"},
                                   ": it only writes the project; design it with --open"};

// Every flag's text as given, as CLI11 fills it.
struct FlagTexts {
    std::map<std::string, std::string> numbers;
    std::map<std::string, std::string> code;
    std::string concrete, steel, scheme, diameter, ratioX, ratioY;
    bool check = false;
    bool json = false;
    std::string book, project, columnId, dxf;
    std::string batch, out, reports, books, bookFormat = "html", schedule;
    std::string open, saveProject;
};

std::string joined(const char* const* labels, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        text += labels[i];
    }
    return text;
}

// The flags, each in its help section. What holds in every mode is stated with CLI11's own
// needs and excludes (the help shows them); what depends on the mode is checked after parsing,
// in modeError, with the messages engineers' scripts already know.
void declareFlags(CLI::App& app, FlagTexts& t) {
    // Numbers are taken as text and read by the same strict parser as the dialog's fields.
    for (const NumberFlag& flag : kNumberFlags) {
        app.add_option(flag.name, t.numbers[flag.name], flag.help)
            ->type_name("V")
            ->group(flag.group);
    }
    app.add_option("--concrete", t.concrete, "concrete grade, C15 to C80 in steps of 5 (C30)")
        ->type_name("C")
        ->group(kCaseGroup);
    app.add_option("--steel", t.steel, "steel grade: HPB235, HRB335 or HRB400 (HRB400)")
        ->type_name("S")
        ->group(kCaseGroup);
    app.add_option("--scheme", t.scheme,
                   "bar arrangement: 1 chosen corner bars, 2 bars of one diameter (1)")
        ->type_name("1|2")
        ->group(k2002Group);
    app.add_option("--diameter", t.diameter,
                   "corner-bar diameter, mm: 12 14 16 18 20 22 25 28 32 36 40 (22)")
        ->type_name("D")
        ->group(k2002Group);
    app.add_option("--ratio-x", t.ratioX, "Aswx / Asx for scheme 2, 0 to 1 (0)")
        ->type_name("R")
        ->group(k2002Group);
    app.add_option("--ratio-y", t.ratioY, "Aswy / Asy for scheme 2, 0 to 1 (0)")
        ->type_name("R")
        ->group(k2002Group);
    app.add_flag("--check", t.check,
                 "also verify the designed layout by strain compatibility (section check)")
        ->group(k2002Group);

    CLI::Option* code =
        app.add_option("--code", t.code["--code"],
                       "design edition: 2010 for the current-code design (GB 50010-2010)")
            ->type_name("V")
            ->group(kCodeGroup);
    for (const auto& [name, help] : gb2010FlagHelps()) {
        app.add_option(name, t.code[name], help)->type_name("V")->group(kCodeGroup)->needs(code);
    }
    // The bar preferences (配筋参数), from their one table.
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        app.add_option(field.flag, t.code[field.flag], field.help)
            ->type_name("V")
            ->group(kCodeGroup)
            ->needs(code);
    }
    app.add_flag("--json", t.json, "with --code 2010: print one JSON object instead of the report")
        ->group(kCodeGroup)
        ->needs(code);
    // The arrangement and the bar distances are the 2002 design's; the current code chooses them.
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_group() == k2002Group) app.get_option(option->get_name())->excludes(code);
    }

    CLI::Option* book =
        app.add_option("--book", t.book,
                       "also write the calculation book of the case (with --code 2010 of the "
                       "current-code design): FILE.html (HTML with its pictures inline), FILE.docx "
                       "(Word) or FILE.pdf (A4; needs tessarin-book of the desktop build)")
            ->type_name("FILE")
            ->group(kBookGroup);
    app.add_option("--project", t.project,
                   "with --book or --books: the project named in the title block")
        ->type_name("TEXT")
        ->group(kBookGroup);
    app.add_option("--id", t.columnId, "with --book: the column id named in the title block")
        ->type_name("TEXT")
        ->group(kBookGroup)
        ->needs(book);
    app.add_option("--dxf", t.dxf,
                   "with --code 2010: also write the designed section as a DXF drawing (with "
                   "--batch: one drawing per column id into the directory)")
        ->type_name("FILE|DIR")
        ->group(kCodeGroup);

    CLI::Option* batch =
        app.add_option("--batch", t.batch,
                       "design every row of a CSV file of cases instead of one case")
            ->type_name("FILE")
            ->group(kBatchGroup);
    app.add_option("--out", t.out, "with --batch: the results CSV (default stdout)")
        ->type_name("FILE")
        ->group(kBatchGroup);
    app.add_option("--reports", t.reports,
                   "with --batch: also write each accepted row's report into this directory "
                   "(with --code 2010: each column's report)")
        ->type_name("DIR")
        ->group(kBatchGroup);
    CLI::Option* open =
        app.add_option("--open", t.open,
                       "design every column of a project file (.tsn) as --batch --code 2010 does")
            ->type_name("FILE")
            ->group(kProjectGroup)
            ->excludes(batch)
            ->excludes(book);
    app.add_option("--save-project", t.saveProject,
                   "with --batch --code 2010: write the cases as a project file instead of "
                   "designing them")
        ->type_name("FILE")
        ->group(kProjectGroup)
        ->needs(batch)
        ->needs(code)
        ->excludes(open);
    CLI::Option* books = app.add_option("--books", t.books,
                                        "with --batch: also write one calculation book per "
                                        "column id into this directory")
                             ->type_name("DIR")
                             ->group(kBatchGroup);
    app.add_option("--schedule", t.schedule,
                   "with --batch --code 2010 or --open: also write the column schedule (柱表) as "
                   "FILE.dxf (table and section details) or FILE.html, .pdf, .docx (book)")
        ->type_name("FILE")
        ->group(kBatchGroup);
    app.add_option("--book-format", t.bookFormat,
                   "with --books: html (default), pdf (needs tessarin-book of the desktop build) "
                   "or docx (Word)")
        ->check(CLI::IsMember({"html", "pdf", "docx"}))
        ->type_name("F")
        ->group(kBatchGroup)
        ->needs(books);
}

bool given(const CLI::App& app, const std::string& name) {
    return app.count(name) > 0;
}

// The first given flag, in the order of the help, that the test refuses.
template <typename Refused>
std::optional<std::string> firstGiven(const CLI::App& app, Refused refused) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->count() > 0 && refused(*option)) return option->get_name();
    }
    return std::nullopt;
}

bool inGroup(const CLI::Option& option, const char* group) {
    return option.get_group() == group;
}

// A project mode refuses every flag it does not take.
std::optional<std::string> projectModeError(const CLI::App& app, const ProjectMode& mode) {
    const auto wrong = firstGiven(app, [&mode](const CLI::Option& option) {
        const std::string name = option.get_name();
        return name != mode.lead &&
               std::find(mode.takes.begin(), mode.takes.end(), name) == mode.takes.end();
    });
    if (!wrong) return std::nullopt;
    return *wrong + " does not go with " + mode.lead + mode.why;
}

// The rules between the modes, in the order they are told: the edition, the project modes, the
// current-code flags, the batch's own flags, then the single case's book. Empty when the flags
// make one mode.
std::optional<std::string> modeError(const CLI::App& app, const FlagTexts& t) {
    const bool batch = given(app, "--batch");
    const bool gb2010 = given(app, "--code");
    if (gb2010 && t.code.at("--code") != "2010") {
        return "--code: \"" + t.code.at("--code") + "\" is not a design edition; use 2010";
    }
    if (given(app, "--schedule")) {
        if ((!given(app, "--open") && !(batch && gb2010)) || given(app, "--save-project")) {
            return "--schedule goes with --batch --code 2010 or with --open";
        }
        if (scheduleFormatOf(t.schedule) == ScheduleFormat::Unknown) {
            return "--schedule " + t.schedule +
                   ": the name ends in .dxf (drawing) or .html, .pdf, .docx (book)";
        }
    }
    if (given(app, "--open")) return projectModeError(app, kOpenMode);
    if (given(app, "--save-project")) {
        if (!batch || !gb2010) return "--save-project goes with --batch and --code 2010";
        return projectModeError(app, kSaveProjectMode);
    }
    if (!gb2010) {
        const auto wrong = firstGiven(app, [](const CLI::Option& option) {
            return inGroup(option, kCodeGroup) && option.get_name() != "--code";
        });
        if (wrong) return *wrong + " goes with --code 2010";
    }
    if (!batch && given(app, "--books")) return "--books goes with --batch";
    if (given(app, "--book-format") && !given(app, "--books")) {
        return "--book-format goes with --books";
    }
    if (!batch) {
        for (const char* name : {"--out", "--reports"}) {
            if (given(app, name)) return std::string(name) + " goes with --batch";
        }
        if (gb2010) {
            const auto wrong = firstGiven(
                app, [](const CLI::Option& option) { return inGroup(option, k2002Group); });
            if (wrong) {
                return *wrong +
                       " does not apply with --code 2010: the bar centres follow from "
                       "--cover, --stirrup and the bar diameters, and the layout is chosen";
            }
        }
        return std::nullopt;
    }
    // A batch takes its own group, the books' project and, per edition, --dxf or --check.
    const auto wrong = firstGiven(app, [gb2010](const CLI::Option& option) {
        const std::string name = option.get_name();
        if (inGroup(option, kBatchGroup) || name == "--project") return false;
        return gb2010 ? name != "--code" && name != "--dxf" : name != "--check";
    });
    if (wrong && gb2010 && *wrong == "--check") {
        return "--check does not apply with --code 2010: the current-code design checks every "
               "combination of a column against its layout";
    }
    if (wrong)
        return *wrong + " describes a single case; with --batch every case comes from the CSV file";
    if (given(app, "--project") && !given(app, "--books") && !given(app, "--schedule")) {
        return "--project goes with --book or --books";
    }
    return std::nullopt;
}

// The single case's book flags: --project and --id name the book's title block.
std::optional<std::string> caseBookError(const CLI::App& app) {
    if (given(app, "--book")) return std::nullopt;
    for (const char* name : {"--project", "--id"}) {
        if (given(app, name)) return std::string(name) + " goes with --book";
    }
    return std::nullopt;
}

}  // namespace

CliParse parseCliArguments(const std::vector<std::string>& arguments) {
    CliParse parse;
    CLI::App app(kDescription, "tessarin-cli");
    app.footer(kFooter);
    app.allow_extras(false);
    FlagTexts t;
    declareFlags(app, t);

    const auto usage = [&parse](std::string text) {
        parse.kind = CliParse::Kind::UsageError;
        parse.text = std::move(text);
        return parse;
    };
    // CLI11 lists unexpected arguments last to first; name them in the order they were given.
    const auto extras = [&app, &usage]() {
        const std::vector<std::string> remaining = app.remaining();
        std::string text = remaining.size() > 1 ? "The following arguments were not expected:"
                                                : "The following argument was not expected:";
        for (const std::string& extra : remaining) text += " " + extra;
        return usage(std::move(text));
    };
    // CLI11 wants the arguments last to first, without the program name.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parse.kind = CliParse::Kind::Help;
        parse.text = app.help();
        return parse;
    } catch (const CLI::ExtrasError&) {
        return extras();
    } catch (const CLI::RequiresError&) {
        // A broken need or exclusion: modeError below names it as the mode rules word it, after
        // what CLI11 would report first.
        if (!app.remaining().empty()) return extras();
    } catch (const CLI::ExcludesError&) {
        if (!app.remaining().empty()) return extras();
    } catch (const CLI::ParseError& error) {
        return usage(error.what());
    }
    if (auto error = modeError(app, t)) return usage(std::move(*error));

    const bool batch = given(app, "--batch");
    const bool gb2010 = given(app, "--code");
    if (given(app, "--open")) {
        parse.kind = CliParse::Kind::OpenProject;
        parse.projectFile = t.open;
        parse.batch.input = t.open;
        if (given(app, "--out")) parse.batch.output = t.out;
        if (given(app, "--reports")) parse.batch.reportDir = t.reports;
        if (given(app, "--books")) parse.batchFiles.booksDir = t.books;
        if (given(app, "--dxf")) parse.batchFiles.dxfDir = t.dxf;
        if (given(app, "--schedule")) parse.batchFiles.schedule = t.schedule;
        parse.batchFiles.project = t.project;
        parse.projectNamed = given(app, "--project");
        return parse;
    }
    if (given(app, "--save-project")) {
        parse.kind = CliParse::Kind::SaveProject;
        parse.projectFile = t.saveProject;
        parse.batch.input = t.batch;
        parse.batchFiles.project = t.project;
        parse.projectNamed = given(app, "--project");
        return parse;
    }
    if (batch) {
        parse.kind = gb2010 ? CliParse::Kind::Gb2010Batch : CliParse::Kind::Batch;
        parse.batch.input = t.batch;
        if (given(app, "--out")) parse.batch.output = t.out;
        if (given(app, "--reports")) parse.batch.reportDir = t.reports;
        parse.batch.check = t.check;
        if (given(app, "--books")) parse.batchFiles.booksDir = t.books;
        parse.batchFiles.bookSuffix = "." + t.bookFormat;
        if (given(app, "--dxf")) parse.batchFiles.dxfDir = t.dxf;
        if (given(app, "--schedule")) parse.batchFiles.schedule = t.schedule;
        parse.batchFiles.project = t.project;
        return parse;
    }
    if (gb2010) {
        std::map<std::string, std::string> given;
        for (const NumberFlag& flag : kNumberFlags) {
            if (app.count(flag.name) > 0) given[flag.name] = t.numbers.at(flag.name);
        }
        given["--code"] = t.code.at("--code");
        for (const auto& [name, help] : gb2010FlagHelps()) {
            if (app.count(name) > 0) given[name] = t.code.at(name);
        }
        for (const BarPreferenceField& field : kBarPreferenceFields) {
            if (app.count(field.flag) > 0) given[field.flag] = t.code.at(field.flag);
        }
        if (app.count("--concrete") > 0) given["--concrete"] = t.concrete;
        if (app.count("--steel") > 0) given["--steel"] = t.steel;
        if (t.json) given["--json"] = "";
        std::string error = readGb2010Flags(given, parse.gb2010);
        if (!error.empty()) return usage(std::move(error));
        if (app.count("--dxf") > 0) parse.gb2010.dxf = t.dxf;
        if (app.count("--book") > 0) {
            parse.gb2010.book = t.book;
            parse.gb2010.project = t.project;
            parse.gb2010.columnId = t.columnId;
        } else if (auto wrong = caseBookError(app)) {
            return usage(std::move(*wrong));
        }
        parse.kind = CliParse::Kind::Gb2010;
        return parse;
    }
    if (auto wrong = caseBookError(app)) return usage(std::move(*wrong));

    CliOptions& options = parse.options;
    options.check = t.check;
    if (app.count("--book") > 0) {
        options.book = t.book;
        options.project = t.project;
        options.columnId = t.columnId;
    }
    for (const NumberFlag& flag : kNumberFlags) {
        if (app.count(flag.name) == 0) continue;
        const std::string& text = t.numbers.at(flag.name);
        const auto value = parseNumber(text);
        if (!value) return usage(std::string(flag.name) + ": \"" + text + "\" is not a number");
        options.input.*flag.field = *value;
    }
    if (app.count("--concrete") > 0) {
        const auto index = parseConcreteGrade(t.concrete);
        if (!index) {
            return usage("--concrete: \"" + t.concrete + "\" is not a concrete grade; use one of " +
                         joined(kConcreteLabels, kConcreteGradeCount));
        }
        options.input.concreteIndex = *index;
    }
    if (app.count("--steel") > 0) {
        const auto index = parseSteelGrade(t.steel);
        if (!index) {
            return usage("--steel: \"" + t.steel + "\" is not a steel grade; use one of " +
                         joined(kSteelLabels, kSteelGradeCount));
        }
        options.input.steelIndex = *index;
    }
    if (app.count("--scheme") > 0) {
        const auto index = parseSchemeIndex(t.scheme);
        if (!index) return usage("--scheme: \"" + t.scheme + "\" is not a scheme; use 1 or 2");
        options.scheme.schemeIndex = *index;
    }
    if (app.count("--diameter") > 0) {
        const auto value = parseBarDiameter(t.diameter);
        if (!value) {
            return usage("--diameter: \"" + t.diameter +
                         "\" is not a listed bar diameter; use 12, 14, 16, 18, 20, 22, 25, 28, "
                         "32, 36 or 40");
        }
        options.scheme.diameter = *value;
    }
    const std::pair<const char*, std::pair<const std::string*, double*>> ratios[] = {
        {"--ratio-x", {&t.ratioX, &options.scheme.ratioX}},
        {"--ratio-y", {&t.ratioY, &options.scheme.ratioY}}};
    for (const auto& [name, target] : ratios) {
        if (app.count(name) == 0) continue;
        const RatioReading ratio = parseWebRatio(*target.first);
        if (ratio.status == RatioReading::Status::NotANumber) {
            return usage(std::string(name) + ": \"" + *target.first + "\" is not a number");
        }
        if (ratio.status == RatioReading::Status::OutOfRange) {
            return usage(std::string(name) + ": " + *target.first +
                         " is out of range; enter a "
                         "ratio between 0 and 1");
        }
        *target.second = ratio.value;
    }
    return parse;
}

}  // namespace tessarin
