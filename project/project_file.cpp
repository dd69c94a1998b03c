#include "project/project_file.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <system_error>

#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "project/json_value.h"
#include "report/bar_preference_fields.h"
#include "report/gb2010_labels.h"
#include "run/gb2010_fields.h"
#include "text/number_text.h"

namespace tessarin {

const char* seismicGradeWord(SeismicGrade grade) {
    return seismicGrades().word(static_cast<int>(grade));
}

const char* structureWord(StructureType structure) {
    return structureTypes().word(static_cast<int>(structure));
}

const char* positionWord(ColumnPosition position) {
    return columnPositions().word(static_cast<int>(position));
}

const char* combinationKindWord(CombinationKind kind) {
    return combinationKinds().word(static_cast<int>(kind));
}

std::optional<CombinationKind> combinationKindFromWord(std::string_view word) {
    const auto value = combinationKinds().fromWord(word);
    if (!value) return std::nullopt;
    return static_cast<CombinationKind>(*value);
}

namespace {

// The fields a project file holds in its order: a column's (combination false) or a
// combination's.
const std::vector<const Gb2010FieldEntry*>& savedFields(bool combination) {
    static const auto kFields = [] {
        std::array<std::vector<const Gb2010FieldEntry*>, 2> fields;
        for (const Gb2010FieldEntry* entry : gb2010FieldsBy(&Gb2010FieldEntry::projectPlace)) {
            fields.at(entry->perCombination() ? 1 : 0).push_back(entry);
        }
        return fields;
    }();
    return kFields.at(combination ? 1 : 0);
}

std::vector<std::string_view> keysOf(const std::vector<const Gb2010FieldEntry*>& fields) {
    std::vector<std::string_view> names;
    names.reserve(fields.size());
    for (const Gb2010FieldEntry* entry : fields) names.emplace_back(entry->key);
    return names;
}

// The field's value as the file writes it ("C30", 600, "seismic"), or "" where the file leaves
// it out: a blank optional number, and a field written only when set that holds its default
// (a shear of +0, the kind unspecified).
std::string savedValue(const Gb2010FieldEntry& entry, const Gb2010Column& column,
                       const LoadCombination& load) {
    const Gb2010Column newColumn;
    const LoadCombination newLoad;
    std::string text;
    if (entry.isChoice()) {
        const int value = fieldChoice(entry, column, load);
        if (entry.projectWhenSet && value == fieldChoice(entry, newColumn, newLoad)) return text;
        appendJsonString(text, entry.choices->word(value));
        return text;
    }
    const std::optional<double> value = fieldNumber(entry, column, load);
    if (!value) return text;
    if (entry.projectWhenSet) {
        const double given = *fieldNumber(entry, newColumn, newLoad);
        // -0 is kept: it reads back as it was written.
        if (*value == given && std::signbit(*value) == std::signbit(given)) return text;
    }
    return formatShortest(*value);
}

// Writes "name": value lines with the file's indentation.
class JsonWriter {
  public:
    std::string& text() { return text_; }

    void open(char bracket) {
        text_ += bracket;
        first_ = true;
        ++depth_;
    }
    void close(char bracket) {
        --depth_;
        if (!first_) newline();
        text_ += bracket;
        first_ = false;
    }
    void key(std::string_view name) {
        next();
        appendJsonString(text_, name);
        text_ += ": ";
    }
    void item() { next(); }
    // A value written as it is (true, null, [12, 14]).
    void raw(std::string_view name, std::string_view value) {
        key(name);
        text_ += value;
        first_ = false;
    }
    void string(std::string_view name, std::string_view value) {
        key(name);
        appendJsonString(text_, value);
        first_ = false;
    }
    void number(std::string_view name, double value) {
        key(name);
        text_ += formatShortest(value);
        first_ = false;
    }
    // A combination on one line: a project of thousands stays readable and small. Each value is
    // written as it is (a number, or a word already quoted).
    void inlineObject(const std::vector<std::pair<const char*, std::string>>& fields) {
        next();
        text_ += '{';
        bool first = true;
        for (const auto& [name, value] : fields) {
            if (!first) text_ += ", ";
            first = false;
            appendJsonString(text_, name);
            text_ += ": ";
            text_ += value;
        }
        text_ += '}';
        first_ = false;
    }

  private:
    void next() {
        if (!first_) text_ += ',';
        newline();
        first_ = true;
    }
    void newline() {
        text_ += '\n';
        text_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    }

    std::string text_;
    int depth_ = 0;
    bool first_ = true;
};

// Where a value stands, for messages: "columns[2].combinations[0].N".
struct Place {
    std::string path;
    int line = 1;
};

class ProjectParser {
  public:
    explicit ProjectParser(std::string fileName) : fileName_(std::move(fileName)) {}

    ProjectReading run(const JsonValue& root) {
        ProjectReading reading;
        Project project;
        if (readRoot(root, project)) {
            reading.project = std::move(project);
        } else {
            reading.error = error_;
        }
        return reading;
    }

  private:
    bool fail(const JsonValue& at, const std::string& path, const std::string& what) {
        error_ = fileName_ + "：第 " + std::to_string(at.line) + " 行：" +
                 (path.empty() ? std::string() : path + "：") + what;
        return false;
    }

    bool expectObject(const JsonValue& value, const std::string& path,
                      std::span<const std::string_view> known) {
        if (value.kind != JsonValue::Kind::Object) return fail(value, path, "应为对象 {…}");
        for (const auto& [name, member] : value.members) {
            bool listed = false;
            for (const std::string_view k : known) listed = listed || k == name;
            if (!listed) {
                return fail(member, join(path, name),
                            "本程序不认识此字段（文件可能由更新的版本写成）");
            }
        }
        return true;
    }

    static std::string join(const std::string& path, std::string_view name) {
        return path.empty() ? std::string(name) : path + "." + std::string(name);
    }

    bool number(const JsonValue& object, const std::string& path, std::string_view name,
                double& target, bool required) {
        const JsonValue* value = object.find(name);
        if (value == nullptr) {
            if (required) return fail(object, join(path, name), "缺少此字段");
            return true;
        }
        if (value->kind != JsonValue::Kind::Number) {
            return fail(*value, join(path, name), "应为数值");
        }
        target = value->number;
        return true;
    }

    bool optionalNumber(const JsonValue& object, const std::string& path, std::string_view name,
                        std::optional<double>& target) {
        const JsonValue* value = object.find(name);
        if (value == nullptr) return true;
        if (value->kind != JsonValue::Kind::Number) {
            return fail(*value, join(path, name), "应为数值");
        }
        target = value->number;
        return true;
    }

    bool text(const JsonValue& object, const std::string& path, std::string_view name,
              std::string& target, bool required) {
        const JsonValue* value = object.find(name);
        if (value == nullptr) {
            if (required) return fail(object, join(path, name), "缺少此字段");
            return true;
        }
        if (value->kind != JsonValue::Kind::String) {
            return fail(*value, join(path, name), "应为字符串");
        }
        target = value->text;
        return true;
    }

    template <typename T, typename Read>
    bool word(const JsonValue& object, const std::string& path, std::string_view name, T& target,
              Read read, const char* allowed) {
        std::string given;
        if (!text(object, path, name, given, false)) return false;
        if (object.find(name) == nullptr) return true;
        const auto value = read(given);
        if (!value) {
            return fail(*object.find(name), join(path, name),
                        "\"" + given + "\" 不是可用的值（可用：" + allowed + "）");
        }
        target = *value;
        return true;
    }

    // A word of a choice field: "\"x\" 不是可用的值（可用：none、1、2、3、4）" when it is none of
    // its list's.
    bool choose(const JsonValue& object, const std::string& path, const Gb2010FieldEntry& entry,
                const std::string& given, Gb2010Column& column, LoadCombination& load) {
        const auto value = entry.choices->fromWord(given);
        if (!value) {
            return fail(*object.find(entry.key), join(path, entry.key),
                        "\"" + given + "\" 不是可用的" + entry.projectNot);
        }
        setFieldChoice(entry, column, load, *value);
        return true;
    }

    // Reads the fields of a column or a combination in the file's order. A grade (concrete,
    // steel, stirrup steel) is looked up only after every field has been read; the other words
    // as they are read.
    bool readFields(const JsonValue& value, const std::string& path, bool combination,
                    Gb2010Column& column, LoadCombination& load) {
        std::vector<std::pair<const Gb2010FieldEntry*, std::string>> grades;
        for (const Gb2010FieldEntry* entry : savedFields(combination)) {
            if (entry->isChoice()) {
                std::string given;
                if (!text(value, path, entry->key, given, entry->required)) return false;
                if (value.find(entry->key) == nullptr) continue;
                if (entry->choices == &concreteGrades2010() ||
                    entry->choices == &steelGrades2010()) {
                    grades.emplace_back(entry, std::move(given));
                } else if (!choose(value, path, *entry, given, column, load)) {
                    return false;
                }
            } else if (entry->isOptional()) {
                std::optional<double> given;
                if (!optionalNumber(value, path, entry->key, given)) return false;
                setFieldNumber(*entry, column, load, given);
            } else {
                double given = *fieldNumber(*entry, column, load);
                if (!number(value, path, entry->key, given, entry->required)) return false;
                setFieldNumber(*entry, column, load, given);
            }
        }
        for (const auto& [entry, given] : grades) {
            if (!choose(value, path, *entry, given, column, load)) return false;
        }
        return true;
    }

    // The bar preferences object, each field as its JSON value: the diameters an array of
    // numbers, a diameter or the step a number, a switch true or false, the preferred diameter a
    // number or null. Read by the same rules as the command line's flags.
    bool readBarPreferences(const JsonValue& value, const std::string& path,
                            BarPreferences& preferences) {
        if (value.kind != JsonValue::Kind::Object) return fail(value, path, "应为对象 {…}");
        for (const auto& [name, member] : value.members) {
            const BarPreferenceField* field = nullptr;
            for (const BarPreferenceField& f : kBarPreferenceFields) {
                if (name == f.key) field = &f;
            }
            if (field == nullptr) {
                return fail(member, join(path, name),
                            "本程序不认识此字段（文件可能由更新的版本写成）");
            }
            std::string text;
            bool kindOk = true;
            switch (field->kind) {
                case BarPreferenceKind::DiameterList:
                    kindOk = member.kind == JsonValue::Kind::Array;
                    for (const JsonValue& item : member.items) {
                        if (item.kind != JsonValue::Kind::Number) {
                            return fail(item, join(path, name), "应为直径（整数毫米）");
                        }
                        if (!text.empty()) text += ',';
                        text += formatShortest(item.number);
                    }
                    break;
                case BarPreferenceKind::Switch:
                    kindOk = member.kind == JsonValue::Kind::Boolean;
                    text = member.boolean ? "yes" : "no";
                    break;
                case BarPreferenceKind::OptionalDiameter:
                    if (member.kind == JsonValue::Kind::Null) {
                        text = "none";
                        break;
                    }
                    [[fallthrough]];
                case BarPreferenceKind::Diameter:
                case BarPreferenceKind::Count:
                    kindOk = member.kind == JsonValue::Kind::Number;
                    text = formatShortest(member.number);
                    break;
            }
            if (!kindOk) {
                const char* wanted =
                    field->kind == BarPreferenceKind::DiameterList       ? "应为数组 […]"
                    : field->kind == BarPreferenceKind::Switch           ? "应为 true 或 false"
                    : field->kind == BarPreferenceKind::OptionalDiameter ? "应为数值或 null"
                                                                         : "应为数值";
                return fail(member, join(path, name), wanted);
            }
            const std::string why = readBarPreference(*field, text, preferences);
            if (!why.empty()) {
                return fail(member, join(path, name), std::string(field->label) + "：" + why);
            }
        }
        if (const std::string problem = barPreferencesProblem(preferences); !problem.empty()) {
            return fail(value, path, problem);
        }
        return true;
    }

    bool readInfo(const JsonValue& value, ProjectInfo& info) {
        const std::string path = "project";
        static constexpr std::array<std::string_view, 9> kKeys = {
            "name", "number",  "designer",  "checker",       "reviewer",
            "code", "seismic", "structure", "barPreferences"};
        if (!expectObject(value, path, kKeys)) {
            return false;
        }
        if (const JsonValue* preferences = value.find("barPreferences")) {
            if (!readBarPreferences(*preferences, join(path, "barPreferences"),
                                    info.barPreferences)) {
                return false;
            }
        }
        const std::pair<const char*, std::string*> texts[] = {{"name", &info.name},
                                                              {"number", &info.number},
                                                              {"designer", &info.designer},
                                                              {"checker", &info.checker},
                                                              {"reviewer", &info.reviewer}};
        for (const auto& [name, target] : texts) {
            if (!text(value, path, name, *target, false)) return false;
        }
        std::string code = kProjectCodeEdition;
        if (!text(value, path, "code", code, false)) return false;
        if (code != kProjectCodeEdition) {
            return fail(*value.find("code"), "project.code",
                        "\"" + code + "\" 不是可用的规范版本（可用：" + kProjectCodeEdition + "）");
        }
        return word(value, path, "seismic", info.seismic, seismicGradeFromText,
                    "none、1、2、3、4") &&
               word(value, path, "structure", info.structure, structureFromText,
                    "frame、dual、frame-supported");
    }

    bool readCombination(const JsonValue& value, const std::string& path, LoadCombination& load) {
        if (!expectObject(value, path, keysOf(savedFields(true)))) return false;
        // A field the file leaves out takes the default of a new combination: a file written
        // before the shears and the kind were kept reads as no shear, kind unspecified.
        load = LoadCombination{};
        Gb2010Column unused;
        return readFields(value, path, true, unused, load);
    }

    bool readColumn(const JsonValue& value, const std::string& path, const ProjectInfo& info,
                    ProjectColumn& column) {
        std::vector<std::string_view> known = keysOf(savedFields(false));
        known.insert(known.begin(), "mark");
        known.emplace_back("barPreferences");
        known.emplace_back("combinations");
        if (!expectObject(value, path, known)) return false;
        Gb2010Column& c = column.column;
        c.seismic = info.seismic;
        c.structure = info.structure;
        c.barPreferences = info.barPreferences;
        if (const JsonValue* preferences = value.find("barPreferences")) {
            if (!readBarPreferences(*preferences, join(path, "barPreferences"), c.barPreferences)) {
                return false;
            }
        }
        if (!text(value, path, "mark", column.mark, true)) return false;
        if (column.mark.empty())
            return fail(*value.find("mark"), join(path, "mark"), "构件编号为空");
        LoadCombination unused;
        if (!readFields(value, path, false, c, unused)) return false;
        const JsonValue* combinations = value.find("combinations");
        if (combinations == nullptr) return fail(value, join(path, "combinations"), "缺少此字段");
        if (combinations->kind != JsonValue::Kind::Array) {
            return fail(*combinations, join(path, "combinations"), "应为数组 […]");
        }
        for (std::size_t k = 0; k < combinations->items.size(); ++k) {
            LoadCombination load;
            if (!readCombination(combinations->items[k],
                                 join(path, "combinations") + "[" + std::to_string(k) + "]",
                                 load)) {
                return false;
            }
            column.combinations.push_back(load);
        }
        return true;
    }

    bool readRoot(const JsonValue& root, Project& project) {
        if (root.kind != JsonValue::Kind::Object || root.find("schema") == nullptr) {
            return fail(root, "", "不是 Tessarin 工程文件（缺少 \"schema\"）");
        }
        const JsonValue& schema = *root.find("schema");
        if (schema.kind != JsonValue::Kind::Number || schema.number < 1 ||
            schema.number != std::floor(schema.number) || schema.number > 1e9) {
            return fail(schema, "schema", "应为正整数的格式版本");
        }
        if (schema.number > kProjectSchema) {
            return fail(schema, "schema",
                        "文件的格式版本为 " + formatShortest(schema.number) +
                            "，本程序只能读取版本 " + std::to_string(kProjectSchema) +
                            "；请用更新版本的 Tessarin 打开");
        }
        static constexpr std::array<std::string_view, 4> kKeys = {"schema", "program", "project",
                                                                  "columns"};
        if (!expectObject(root, "", kKeys)) return false;
        if (const JsonValue* program = root.find("program");
            program != nullptr && program->kind != JsonValue::Kind::String) {
            return fail(*program, "program", "应为字符串");
        }
        if (const JsonValue* info = root.find("project")) {
            if (!readInfo(*info, project.info)) return false;
        }
        const JsonValue* columns = root.find("columns");
        if (columns == nullptr) return fail(root, "columns", "缺少此字段");
        if (columns->kind != JsonValue::Kind::Array) {
            return fail(*columns, "columns", "应为数组 […]");
        }
        for (std::size_t i = 0; i < columns->items.size(); ++i) {
            const std::string path = "columns[" + std::to_string(i) + "]";
            ProjectColumn column;
            if (!readColumn(columns->items[i], path, project.info, column)) return false;
            for (std::size_t j = 0; j < project.columns.size(); ++j) {
                if (project.columns[j].mark == column.mark) {
                    return fail(*columns->items[i].find("mark"), path + ".mark",
                                "构件编号 \"" + column.mark + "\" 与 columns[" + std::to_string(j) +
                                    "] 重复");
                }
            }
            project.columns.push_back(std::move(column));
        }
        return true;
    }

    std::string fileName_;
    std::string error_;
};

void writeBarPreferences(JsonWriter& w, const BarPreferences& preferences) {
    w.key("barPreferences");
    w.open('{');
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        const std::string text = barPreferenceText(field, preferences);
        switch (field.kind) {
            case BarPreferenceKind::DiameterList: {
                std::string list = "[";
                for (const char c : text) list += c == ',' ? std::string(", ") : std::string(1, c);
                w.raw(field.key, list + "]");
                break;
            }
            case BarPreferenceKind::Switch:
                w.raw(field.key, text == "yes" ? "true" : "false");
                break;
            case BarPreferenceKind::OptionalDiameter:
                w.raw(field.key, text == "none" ? "null" : text);
                break;
            case BarPreferenceKind::Diameter:
            case BarPreferenceKind::Count:
                w.raw(field.key, text);
                break;
        }
    }
    w.close('}');
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

}  // namespace

std::string projectJson(const Project& project) {
    JsonWriter w;
    w.open('{');
    w.number("schema", kProjectSchema);
    w.string("program", "Tessarin");
    w.key("project");
    w.open('{');
    const ProjectInfo& info = project.info;
    w.string("name", info.name);
    w.string("number", info.number);
    w.string("designer", info.designer);
    w.string("checker", info.checker);
    w.string("reviewer", info.reviewer);
    w.string("code", kProjectCodeEdition);
    w.string("seismic", seismicGradeWord(info.seismic));
    w.string("structure", structureWord(info.structure));
    writeBarPreferences(w, info.barPreferences);
    w.close('}');
    w.key("columns");
    w.open('[');
    for (const ProjectColumn& column : project.columns) {
        const Gb2010Column& c = column.column;
        w.item();
        w.open('{');
        w.string("mark", column.mark);
        const LoadCombination unused;
        for (const Gb2010FieldEntry* entry : savedFields(false)) {
            const std::string text = savedValue(*entry, c, unused);
            if (!text.empty()) w.raw(entry->key, text);
        }
        if (c.barPreferences != info.barPreferences) writeBarPreferences(w, c.barPreferences);
        w.key("combinations");
        w.open('[');
        for (const LoadCombination& load : column.combinations) {
            std::vector<std::pair<const char*, std::string>> fields;
            for (const Gb2010FieldEntry* entry : savedFields(true)) {
                std::string text = savedValue(*entry, c, load);
                if (!text.empty()) fields.emplace_back(entry->key, std::move(text));
            }
            w.inlineObject(fields);
        }
        w.close(']');
        w.close('}');
    }
    w.close(']');
    w.close('}');
    w.text() += '\n';
    return std::move(w.text());
}

ProjectReading readProjectText(std::string_view text, const std::string& fileName) {
    // A byte-order mark, as some Windows editors write one, is passed over.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const JsonReading json = readJson(text);
    if (!json.value) {
        ProjectReading reading;
        reading.error = fileName + "：第 " + std::to_string(json.error.line) + " 行第 " +
                        std::to_string(json.error.column) + " 列：文件已损坏或不是 JSON：" +
                        json.error.reason;
        return reading;
    }
    return ProjectParser(fileName).run(*json.value);
}

ProjectReading loadProjectFile(const std::string& path) {
    ProjectReading reading;
    const std::filesystem::path file = pathOf(path);
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) {
        reading.error = path + "：无法打开：文件不存在";
        return reading;
    }
    // A pipe or a device would never end or never answer.
    if (!std::filesystem::is_regular_file(status)) {
        reading.error = path + "：无法打开：不是普通文件";
        return reading;
    }
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        reading.error = path + "：无法读取：" + error.message();
        return reading;
    }
    if (size > kProjectFileLimit) {
        reading.error = path + "：文件过大（" + std::to_string(size) + " 字节），不是工程文件";
        return reading;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        reading.error = path + "：无法打开：没有读取权限或文件已被移走";
        return reading;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        reading.error = path + "：读取时出错";
        return reading;
    }
    return readProjectText(bytes, path);
}

FileResult saveProjectFile(const std::string& path, const Project& project) {
    const PathStatus status = inspectPath(path);
    if (status.kind == PathKind::Link) {
        return FileResult::refusal(path, FileAction::Create,
                                   "是符号链接；工程文件不通过链接写入，请另存为一个普通文件");
    }
    if (status.kind != PathKind::Absent && status.kind != PathKind::Regular) {
        return FileResult::refusal(path, FileAction::Create, "不是普通文件");
    }
    return writeWholeFile(path, projectJson(project));
}

std::string saveFailureText(const FileResult& result) {
    return "无法保存工程文件 " + result.fileName + "：" + result.reason;
}

}  // namespace tessarin
