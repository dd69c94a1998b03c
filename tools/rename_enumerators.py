#!/usr/bin/env python3
# Renames the enumerators written in lowerCamel (and kName) to UpperCamel, the one enumerator
# case clang-tidy enforces since .clang-tidy names EnumConstantCase. For a branch started before
# that change: run it from the repository root after the merge (it only rewrites the old names,
# so running it again changes nothing), then build; clang-tidy finds any name it missed. It can
# go once no such branch is left.
import re, subprocess, sys
renames = {
    'SeismicGrade': {'none':'None','one':'One','two':'Two','three':'Three','four':'Four'},
    'StructureType': {'frame':'Frame','dual':'Dual'},
    'ColumnPosition': {'middle':'Middle','corner':'Corner'},
    'NoLayoutKind': {'none':'None','axialRatioExceeded':'AxialRatioExceeded','noDetailedLayout':'NoDetailedLayout','notCarried':'NotCarried'},
    'BarGroup': {'corner':'Corner','webX':'WebX','webY':'WebY'},
    'Contour': {'computed':'Computed','skipped':'Skipped'},
    'Precision': {'fine':'Fine','coarse':'Coarse'},
    'BendingAxis': {'x':'X','y':'Y'},
    'BookFormat': {'html':'Html','pdf':'Pdf','docx':'Docx','unknown':'Unknown'},
    'TextAnchor': {'start':'Start','middle':'Middle','end':'End'},
    'FindingPlace': {'capacity':'Capacity','note':'Note','warning':'Warning'},
    'Gb2010Field': {'l0':'L0','b':'B','h':'H','lcX':'LcX','lcY':'LcY','concrete':'Concrete','cover':'Cover','stirrup':'Stirrup','combinations':'Combinations','m1m2X':'M1m2X','m1m2Y':'M1m2Y'},
    'DxfAlign': {'kLeft':'Left','kCentre':'Centre','kRight':'Right'},
}
# Aliases some files give an enum.
aliases = {
    'tests/engine/gb2010/rules_test.cpp': {'S':'SeismicGrade','T':'StructureType','P':'ColumnPosition'},
    'tests/run/gb2010_input_test.cpp': {'F':'Gb2010Field'},
    'run/gb2010_input.cpp': {'F':'Gb2010Field'},
}
files = subprocess.run(['git','ls-files','*.h','*.cpp'], capture_output=True, text=True).stdout.split()
for path in files:
    s = open(path, encoding='utf-8').read()
    t = s
    names = {e: e for e in renames}
    for alias, enum in aliases.get(path, {}).items():
        names[alias] = enum
    for written, enum in names.items():
        for old, new in renames[enum].items():
            t = re.sub(r'\b' + re.escape(written) + r'::' + old + r'\b', written + '::' + new, t)
    if t != s:
        open(path, 'w', encoding='utf-8').write(t)
        print('renamed in', path)
# The enumerators where they are declared.
for path in files:
    s = open(path, encoding='utf-8').read()
    t = s
    for enum, table in renames.items():
        for m in list(re.finditer(r'enum class ' + enum + r'\b[^{;]*\{([^}]*)\}', t)):
            body = m.group(1)
            new_body = body
            for old, new in table.items():
                new_body = re.sub(r'(?m)^(\s*|.*?[{,]\s*)' + r'\b' + old + r'\b(?=\s*[,=}/]|\s*$)', lambda mm: mm.group(1) + new, new_body)
            # Single-line bodies: "{ a, b, c }".
            if '\n' not in body:
                new_body = ', '.join(table.get(x.strip(), x.strip()) for x in body.split(','))
                new_body = ' ' + new_body + ' '
            t = t[:m.start(1)] + new_body + t[m.end(1):]
    if t != s:
        open(path, 'w', encoding='utf-8').write(t)
        print('declared in', path)
