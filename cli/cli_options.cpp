#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <map>

#include "report/bar_preference_fields.h"
#include "report/number_text.h"
#include "run/input_parsers.h"

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

struct NumberFlag {
    const char* name;
    const char* help;
    double DesignInput::*field;
};

constexpr NumberFlag kNumberFlags[] = {
    {"--l0", "effective length l0, mm (6000)", &DesignInput::l0},
    {"--b", "section width b, mm (400)", &DesignInput::b},
    {"--h", "section height h, mm (600)", &DesignInput::h},
    {"--M0x", "moment in the x direction M0x, kN*m (244)", &DesignInput::M0x},
    {"--M0y", "moment in the y direction M0y, kN*m (120)", &DesignInput::M0y},
    {"--N", "axial compression N, kN (400)", &DesignInput::N},
    {"--ax", "distance from the resultant of Asx to the near edge ax, mm (40)", &DesignInput::ax},
    {"--ay", "distance from the resultant of Asy to the near edge ay, mm (40)", &DesignInput::ay},
};

std::string joined(const char* const* labels, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        text += labels[i];
    }
    return text;
}

}  // namespace

CliParse parseCliArguments(const std::vector<std::string>& arguments) {
    CliParse parse;
    CLI::App app(kDescription, "tessarin-cli");
    app.footer(kFooter);
    app.allow_extras(false);

    // Numbers are taken as text and read by the same strict parser as the dialog's fields.
    std::map<std::string, std::string> numberTexts;
    for (const NumberFlag& flag : kNumberFlags) {
        app.add_option(flag.name, numberTexts[flag.name], flag.help)->type_name("V");
    }
    std::string concrete, steel, scheme, diameter, ratioX, ratioY;
    app.add_option("--concrete", concrete, "concrete grade, C15 to C80 in steps of 5 (C30)")
        ->type_name("C");
    app.add_option("--steel", steel, "steel grade: HPB235, HRB335 or HRB400 (HRB400)")
        ->type_name("S");
    app.add_option("--scheme", scheme,
                   "bar arrangement: 1 chosen corner bars, 2 bars of one diameter (1)")
        ->type_name("1|2");
    app.add_option("--diameter", diameter,
                   "corner-bar diameter, mm: 12 14 16 18 20 22 25 28 32 36 40 (22)")
        ->type_name("D");
    app.add_option("--ratio-x", ratioX, "Aswx / Asx for scheme 2, 0 to 1 (0)")->type_name("R");
    app.add_option("--ratio-y", ratioY, "Aswy / Asy for scheme 2, 0 to 1 (0)")->type_name("R");
    bool check = false;
    app.add_flag("--check", check,
                 "also verify the designed layout by strain compatibility (section check)");
    // The current-code design and its own inputs, kept as text until the edition is known.
    std::map<std::string, std::string> codeTexts;
    const std::pair<const char*, const char*> codeOptions[] = {
        {"--code", "design edition: 2010 for the current-code design (GB 50010-2010)"},
        {"--m1m2-x", "with --code 2010: end-moment ratio M1/M2 for x bending, -1 to 1 (1)"},
        {"--m1m2-y", "with --code 2010: end-moment ratio M1/M2 for y bending, -1 to 1 (1)"},
        {"--lc-x", "with --code 2010: length between supports for x bending, mm (l0)"},
        {"--lc-y", "with --code 2010: length between supports for y bending, mm (l0)"},
        {"--hn", "with --code 2010: clear height Hn for the shear-span ratio Hn/(2 h0), mm (l0)"},
        {"--cover", "with --code 2010: cover to the stirrups, 15 to 75 mm (20; 25 to C25)"},
        {"--stirrup", "with --code 2010: stirrup diameter, 6 to 16 mm (8)"},
        {"--seismic", "with --code 2010: seismic grade none, 1, 2, 3 or 4 (none)"},
        {"--structure",
         "with --code 2010: frame, dual (frame-shear wall and the like), or frame-supported (the "
         "frame-supporting column of a part-frame-supported shear-wall structure, grade 1 or 2) "
         "(frame)"},
        {"--position", "with --code 2010: middle (or edge), or corner (middle)"},
        {"--V-x", "with --code 2010: design shear Vx along h (with Mx), kN (0)"},
        {"--V-y", "with --code 2010: design shear Vy along b (with My), kN (0)"},
        {"--seismic-combination",
         "with --code 2010: yes for a seismic combination (gammaRE, axial-ratio limit), no for a "
         "non-seismic one (unspecified: no gammaRE, the limit applies)"},
        {"--stirrup-steel",
         "with --code 2010: stirrup steel HPB300, HRB335, HRB400 or HRB500 "
         "(HRB400)"},
    };
    for (const auto& [name, help] : codeOptions) {
        app.add_option(name, codeTexts[name], help)->type_name("V");
    }
    // The bar preferences (配筋参数), from their one table.
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        app.add_option(field.flag, codeTexts[field.flag], field.help)->type_name("V");
    }
    bool json = false;
    app.add_flag("--json", json, "with --code 2010: print one JSON object instead of the report");
    std::string bookPath, project, columnId;
    app.add_option("--book", bookPath,
                   "also write the calculation book of the case (with --code 2010 of the "
                   "current-code design): FILE.html (HTML with its pictures inline), FILE.docx "
                   "(Word) or FILE.pdf (A4; needs tessarin-book of the desktop build)")
        ->type_name("FILE");
    app.add_option("--project", project,
                   "with --book or --books: the project named in the title block")
        ->type_name("TEXT");
    app.add_option("--id", columnId, "with --book: the column id named in the title block")
        ->type_name("TEXT");
    std::string dxf;
    app.add_option("--dxf", dxf,
                   "with --code 2010: also write the designed section as a DXF drawing (with "
                   "--batch: one drawing per column id into the directory)")
        ->type_name("FILE|DIR");
    std::string batchInput, batchOutput, reportDir;
    app.add_option("--batch", batchInput,
                   "design every row of a CSV file of cases instead of one case")
        ->type_name("FILE");
    app.add_option("--out", batchOutput, "with --batch: the results CSV (default stdout)")
        ->type_name("FILE");
    app.add_option("--reports", reportDir,
                   "with --batch: also write each accepted row's report into this directory "
                   "(with --code 2010: each column's report)")
        ->type_name("DIR");
    std::string openFile, saveProject;
    app.add_option("--open", openFile,
                   "design every column of a project file (.tsn) as --batch --code 2010 does")
        ->type_name("FILE");
    app.add_option("--save-project", saveProject,
                   "with --batch --code 2010: write the cases as a project file instead of "
                   "designing them")
        ->type_name("FILE");
    std::string booksDir;
    app.add_option("--books", booksDir,
                   "with --batch: also write one calculation book per column id into this "
                   "directory")
        ->type_name("DIR");
    std::string bookFormat = "html";
    app.add_option("--book-format", bookFormat,
                   "with --books: html (default), pdf (needs tessarin-book of the desktop build) "
                   "or docx (Word)")
        ->check(CLI::IsMember({"html", "pdf", "docx"}))
        ->type_name("F");

    // CLI11 wants the arguments last to first, without the program name.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parse.kind = CliParse::Kind::Help;
        parse.text = app.help();
        return parse;
    } catch (const CLI::ExtrasError&) {
        // CLI11 lists them last to first; name them in the order they were given.
        const std::vector<std::string> extras = app.remaining();
        parse.kind = CliParse::Kind::UsageError;
        parse.text = extras.size() > 1 ? "The following arguments were not expected:"
                                       : "The following argument was not expected:";
        for (const std::string& extra : extras) parse.text += " " + extra;
        return parse;
    } catch (const CLI::ParseError& error) {
        parse.kind = CliParse::Kind::UsageError;
        parse.text = error.what();
        return parse;
    }

    const auto usage = [&parse](std::string text) {
        parse.kind = CliParse::Kind::UsageError;
        parse.text = std::move(text);
        return parse;
    };
    const bool batch = app.count("--batch") > 0;
    const bool currentCode = app.count("--code") > 0;
    if (currentCode && codeTexts["--code"] != "2010") {
        return usage("--code: \"" + codeTexts["--code"] + "\" is not a design edition; use 2010");
    }
    // Only the flags of the list go with the one that leads.
    const auto onlyWith =
        [&app](const char* lead,
               const std::vector<std::string>& allowed) -> std::optional<std::string> {
        for (const CLI::Option* option : app.get_options()) {
            const std::string name = option->get_name();
            if (option->count() == 0 || name == lead ||
                std::find(allowed.begin(), allowed.end(), name) != allowed.end()) {
                continue;
            }
            return name + " does not go with " + lead;
        }
        return std::nullopt;
    };
    if (app.count("--open") > 0) {
        if (auto wrong = onlyWith(
                "--open", {"--out", "--reports", "--dxf", "--books", "--project", "--code"})) {
            return usage(*wrong + ": a project file holds every column and its data");
        }
        parse.kind = CliParse::Kind::OpenProject;
        parse.projectFile = openFile;
        parse.batch.input = openFile;
        if (app.count("--out") > 0) parse.batch.output = batchOutput;
        if (app.count("--reports") > 0) parse.batch.reportDir = reportDir;
        if (app.count("--books") > 0) parse.batchFiles.booksDir = booksDir;
        if (app.count("--dxf") > 0) parse.batchFiles.dxfDir = dxf;
        parse.batchFiles.project = project;
        parse.projectNamed = app.count("--project") > 0;
        return parse;
    }
    if (app.count("--save-project") > 0) {
        if (!batch || !currentCode)
            return usage("--save-project goes with --batch and --code 2010");
        if (auto wrong = onlyWith("--save-project", {"--batch", "--code", "--project"})) {
            return usage(*wrong + ": it only writes the project; design it with --open");
        }
        parse.kind = CliParse::Kind::SaveProject;
        parse.projectFile = saveProject;
        parse.batch.input = batchInput;
        parse.batchFiles.project = project;
        parse.projectNamed = app.count("--project") > 0;
        return parse;
    }
    if (!currentCode) {
        for (const char* name : kCurrentCodeOnlyFlags) {
            if (app.count(name) > 0) return usage(std::string(name) + " goes with --code 2010");
        }
        for (const BarPreferenceField& field : kBarPreferenceFields) {
            if (app.count(field.flag) > 0) {
                return usage(std::string(field.flag) + " goes with --code 2010");
            }
        }
    }
    if (!batch && app.count("--books") > 0) return usage("--books goes with --batch");
    if (app.count("--book-format") > 0 && app.count("--books") == 0) {
        return usage("--book-format goes with --books");
    }
    if (currentCode && !batch) {
        for (const char* name : {"--out", "--reports"}) {
            if (app.count(name) > 0) return usage(std::string(name) + " goes with --batch");
        }
        for (const char* name : kNotUsedByCurrentCode) {
            if (app.count(name) > 0) {
                return usage(std::string(name) +
                             " does not apply with --code 2010: the bar centres follow from "
                             "--cover, --stirrup and the bar diameters, and the layout is chosen");
            }
        }
        std::map<std::string, std::string> given;
        for (const NumberFlag& flag : kNumberFlags) {
            if (app.count(flag.name) > 0) given[flag.name] = numberTexts[flag.name];
        }
        for (const auto& [name, help] : codeOptions) {
            if (app.count(name) > 0) given[name] = codeTexts[name];
        }
        for (const BarPreferenceField& field : kBarPreferenceFields) {
            if (app.count(field.flag) > 0) given[field.flag] = codeTexts[field.flag];
        }
        if (app.count("--concrete") > 0) given["--concrete"] = concrete;
        if (app.count("--steel") > 0) given["--steel"] = steel;
        if (json) given["--json"] = "";
        std::string error = readCurrentCodeFlags(given, parse.currentCode);
        if (!error.empty()) return usage(std::move(error));
        if (app.count("--dxf") > 0) parse.currentCode.dxf = dxf;
        if (app.count("--book") > 0) {
            parse.currentCode.book = bookPath;
            parse.currentCode.project = project;
            parse.currentCode.columnId = columnId;
        } else {
            for (const char* name : {"--project", "--id"}) {
                if (app.count(name) > 0) return usage(std::string(name) + " goes with --book");
            }
        }
        parse.kind = CliParse::Kind::CurrentCode;
        return parse;
    }
    if (!batch) {
        for (const char* name : {"--out", "--reports"}) {
            if (app.count(name) > 0) return usage(std::string(name) + " goes with --batch");
        }
        if (app.count("--book") == 0) {
            for (const char* name : {"--project", "--id"}) {
                if (app.count(name) > 0) return usage(std::string(name) + " goes with --book");
            }
        }
    } else {
        // What a batch takes besides its cases file; the current-code batch draws, the 2002
        // batch checks.
        const std::vector<std::string> batchFlags =
            currentCode
                ? std::vector<std::string>{"--batch",       "--out",     "--reports", "--books",
                                           "--book-format", "--project", "--code",    "--dxf"}
                : std::vector<std::string>{"--batch",       "--out",     "--reports", "--books",
                                           "--book-format", "--project", "--check"};
        for (const CLI::Option* option : app.get_options()) {
            const std::string name = option->get_name();
            if (option->count() == 0 ||
                std::find(batchFlags.begin(), batchFlags.end(), name) != batchFlags.end()) {
                continue;
            }
            if (currentCode && name == "--check") {
                return usage(
                    "--check does not apply with --code 2010: the current-code design checks "
                    "every combination of a column against its layout");
            }
            return usage(name +
                         " describes a single case; with --batch every case comes "
                         "from the CSV file");
        }
        if (app.count("--project") > 0 && app.count("--books") == 0) {
            return usage("--project goes with --book or --books");
        }
        parse.kind = currentCode ? CliParse::Kind::CurrentCodeBatch : CliParse::Kind::Batch;
        parse.batch.input = batchInput;
        if (app.count("--out") > 0) parse.batch.output = batchOutput;
        if (app.count("--reports") > 0) parse.batch.reportDir = reportDir;
        parse.batch.check = check;
        if (app.count("--books") > 0) parse.batchFiles.booksDir = booksDir;
        parse.batchFiles.bookSuffix = "." + bookFormat;
        if (app.count("--dxf") > 0) parse.batchFiles.dxfDir = dxf;
        parse.batchFiles.project = project;
        return parse;
    }

    CliOptions& options = parse.options;
    options.check = check;
    if (app.count("--book") > 0) {
        options.book = bookPath;
        options.project = project;
        options.columnId = columnId;
    }
    for (const NumberFlag& flag : kNumberFlags) {
        if (app.count(flag.name) == 0) continue;
        const std::string& text = numberTexts[flag.name];
        const auto value = parseNumber(text);
        if (!value) return usage(std::string(flag.name) + ": \"" + text + "\" is not a number");
        options.input.*flag.field = *value;
    }
    if (app.count("--concrete") > 0) {
        const auto index = parseConcreteGrade(concrete);
        if (!index) {
            return usage("--concrete: \"" + concrete + "\" is not a concrete grade; use one of " +
                         joined(kConcreteLabels, kConcreteGradeCount));
        }
        options.input.concreteIndex = *index;
    }
    if (app.count("--steel") > 0) {
        const auto index = parseSteelGrade(steel);
        if (!index) {
            return usage("--steel: \"" + steel + "\" is not a steel grade; use one of " +
                         joined(kSteelLabels, kSteelGradeCount));
        }
        options.input.steelIndex = *index;
    }
    if (app.count("--scheme") > 0) {
        const auto index = parseSchemeIndex(scheme);
        if (!index) return usage("--scheme: \"" + scheme + "\" is not a scheme; use 1 or 2");
        options.scheme.schemeIndex = *index;
    }
    if (app.count("--diameter") > 0) {
        const auto value = parseBarDiameter(diameter);
        if (!value) {
            return usage("--diameter: \"" + diameter +
                         "\" is not a listed bar diameter; use 12, 14, 16, 18, 20, 22, 25, 28, "
                         "32, 36 or 40");
        }
        options.scheme.diameter = *value;
    }
    const std::pair<const char*, std::pair<const std::string*, double*>> ratios[] = {
        {"--ratio-x", {&ratioX, &options.scheme.ratioX}},
        {"--ratio-y", {&ratioY, &options.scheme.ratioY}}};
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
