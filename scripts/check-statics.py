#!/usr/bin/env python3
"""Finds mutable state with static storage duration in the program's sources
and fails on any that the allow-list does not name.

What counts as mutable static state:
  - a function-local `static` (or `thread_local`) variable that is not const;
  - a variable at namespace scope that is not const (in a named or an
    anonymous namespace, with or without `static`);
  - a `static` data member of a class that is not const.

`const`, `constexpr`, static functions, `static_cast` and `static_assert` are
not state. The allow-list (scripts/statics-allowlist.txt) names each entry
as `path: variable` followed by why it has to be process-wide; an entry that
no longer matches anything fails too, so the list stays short and true.

Usage:
  scripts/check-statics.py            check the source folders
  scripts/check-statics.py --list     print every finding, allowed or not
  scripts/check-statics.py --self-test
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_FOLDERS = ["startup", "package", "show", "transitions", "dialogs", "installer", "platform", "tools"]
ALLOW_LIST = os.path.join(ROOT, "scripts", "statics-allowlist.txt")

TOKEN = re.compile(
    r"""
    (?P<raw>R"(?P<delim>[^()\\ ]{0,16})\((?:.|\n)*?\)(?P=delim)")
  | (?P<str>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
  | (?P<chr>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])+')
  | (?P<line_comment>//[^\n]*)
  | (?P<block_comment>/\*(?:.|\n)*?\*/)
  | (?P<pp>^[ \t]*\#(?:\\\n|[^\n])*)
  | (?P<ident>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<num>\.?[0-9](?:[eEpP][+-]|[A-Za-z0-9_.'])*)
  | (?P<op>::|->|.)
    """,
    re.VERBOSE | re.MULTILINE,
)

CONST_WORDS = {"const", "constexpr"}
NOT_VARIABLES = {
    "using", "typedef", "namespace", "template", "friend", "static_assert", "extern",
    "class", "struct", "enum", "union", "return", "operator",
}
ACCESS = {"public", "private", "protected", "signals", "slots", "Q_SIGNALS", "Q_SLOTS"}
AFTER_PARAMETERS = {")", "const", "override", "noexcept", "final", "mutable", "try", "volatile", "&", "&&"}
MACRO = re.compile(r"^[A-Z][A-Z0-9_]*$")


def tokenize(text):
    """(token, line) pairs without comments and preprocessor lines; string
    and character literals become one placeholder token."""
    tokens = []
    line = 1
    counted = 0
    for m in TOKEN.finditer(text):
        line += text.count("\n", counted, m.start())
        counted = m.start()
        kind = m.lastgroup
        value = m.group(0)
        if kind in ("raw", "str", "chr"):
            tokens.append(("STR", line))
        elif kind in ("ident", "num") and value != "__extension__":
            tokens.append((value, line))
        elif kind == "op" and not value.isspace():
            tokens.append((value, line))
    return tokens


def declarator_part(stmt):
    """The tokens before the initializer: up to the first `=` or `{` outside
    parentheses and template arguments."""
    out = []
    angle = paren = 0
    previous = None
    for tok, _ in stmt:
        if paren == 0 and angle == 0 and tok in ("=", "{") and previous != "operator":
            break
        if tok == "(":
            paren += 1
        elif tok == ")":
            paren = max(paren - 1, 0)
        elif tok == "<" and previous is not None and (re.match(r"\w", previous) or previous == "::"):
            angle += 1
        elif tok == ">" and angle > 0:
            angle -= 1
        out.append(tok)
        previous = tok
    return out


def with_template_depth(decl):
    """Each token with the token before it and how deep inside template
    arguments it stands (0 outside any)."""
    angle = 0
    previous = None
    for tok in decl:
        depth = angle
        if tok == "<" and previous is not None and (re.match(r"\w", previous) or previous == "::"):
            angle += 1
        elif tok == ">" and angle > 0:
            angle -= 1
            depth = angle
        yield tok, previous, depth
        previous = tok


def has_call_parentheses(decl):
    """True when the declaration has a parameter list: a `(` outside template
    arguments (a function, not a variable)."""
    return any(tok == "(" and angle == 0 for tok, _, angle in with_template_depth(decl))


def variable_name(decl):
    """The declared name: the last identifier before an array bound,
    parameter list or the end."""
    name = None
    for tok, previous, angle in with_template_depth(decl):
        if angle != 0:
            continue
        if tok in ("[", "(", ","):
            break
        if tok == ":":
            if previous != ":":
                break
        elif re.match(r"^[A-Za-z_]\w*$", tok) and tok not in CONST_WORDS:
            name = tok
    return name


def strip_leading_macros(stmt):
    """Drops macro lines that end without a semicolon (Q_OBJECT,
    Q_PROPERTY(...)) from the front of a statement."""
    i = 0
    while i < len(stmt) and MACRO.match(stmt[i][0]) and (i + 1 < len(stmt)):
        i += 1
        if i < len(stmt) and stmt[i][0] == "(":
            depth = 0
            while i < len(stmt):
                if stmt[i][0] == "(":
                    depth += 1
                elif stmt[i][0] == ")":
                    depth -= 1
                    if depth == 0:
                        i += 1
                        break
                i += 1
    return stmt[i:]


def brace_kind(scope, stmt):
    """What a `{` opens, from the scope it is in and the statement before it."""
    if scope in ("function", "init-in-function"):
        return "function"
    toks = [t for t, _ in stmt]
    if "namespace" in toks or (toks[:2] == ["extern", "STR"]):
        return "namespace"
    decl = declarator_part(stmt + [("{", 0)])
    depth0 = []
    angle = paren = 0
    previous = None
    for tok in decl:
        if tok == "(":
            paren += 1
        elif tok == ")":
            paren -= 1
        elif tok == "<" and previous is not None and (re.match(r"\w", previous) or previous == "::"):
            angle += 1
        elif tok == ">" and angle > 0:
            angle -= 1
        elif paren == 0 and angle == 0:
            depth0.append(tok)
        previous = tok
    if any(t in ("class", "struct", "union", "enum") for t in depth0) and "=" not in toks:
        return "class"
    if len(decl) < len(toks) and toks[len(decl)] == "=":  # an initializer
        return "init"
    if "(" in toks:
        last = toks[-1] if toks else ""
        tail = toks[len(toks) - 1 - toks[::-1].index(")"):] if ")" in toks else []
        if "->" in tail or last in AFTER_PARAMETERS or last in (">", "}"):
            return "function"
        return "init"  # a member's braces in a constructor's initializer list
    if toks:
        return "init"
    return scope


def findings_in(text):
    """(line, name, what) of every mutable static in a source text."""
    found = []
    tokens = tokenize(text)
    stack = ["namespace"]
    stmts = [[]]
    i = 0

    def in_function():
        return any(k == "function" for k in stack)

    def judge(stmt, scope):
        stmt = strip_leading_macros(stmt)
        if len(stmt) < 2:
            return
        toks = [t for t, _ in stmt]
        if toks[0] in NOT_VARIABLES or "operator" in toks:
            return
        decl = declarator_part(stmt)
        if any(t in CONST_WORDS for t in decl) or has_call_parentheses(decl):
            return
        storage = "static" in decl or "thread_local" in decl
        if scope == "class" and not storage:
            return
        name = variable_name(decl)
        if not name or name in ("static", "thread_local", "inline", "mutable"):
            return
        what = "static data member" if scope == "class" else "namespace-scope variable"
        found.append((stmt[0][1], name, what))

    while i < len(tokens):
        tok, line = tokens[i]
        scope = stack[-1]
        stmt = stmts[-1]
        if in_function() and scope != "init":
            if tok in ("static", "thread_local"):
                # A local static: its declaration runs to the initializer
                # or the end of the statement.
                j = i + 1
                decl = []
                while j < len(tokens) and tokens[j][0] not in (";", "=", "{"):
                    decl.append(tokens[j][0])
                    j += 1
                if decl and decl[0] not in ("void",) and not any(t in CONST_WORDS for t in decl) \
                        and "(" not in decl[:1]:
                    name = variable_name(decl + [";"])
                    if name and not (len(decl) > 1 and decl[-1] == ")" and j < len(tokens)
                                     and tokens[j][0] == "{"):
                        found.append((line, name, "function-local static"))
            if tok == "{":
                stack.append("function")
                stmts.append([])
            elif tok == "}":
                stack.pop()
                stmts.pop()
            i += 1
            continue
        if tok == "{":
            kind = brace_kind(scope, stmt)
            if kind == "init":
                stmt.append((tok, line))
                stack.append("init")
            else:
                if kind == "function" or kind == "class" and scope == "function":
                    pass
                stack.append(kind)
                stmts[-1] = []
                stmts.append([])
        elif tok == "}":
            closing = stack.pop() if len(stack) > 1 else "namespace"
            if closing == "init":
                stmt.append((tok, line))
            else:
                if len(stmts) > 1:
                    stmts.pop()
                stmts[-1] = []
        elif tok == ";":
            if scope in ("namespace", "class"):
                judge(stmt, scope)
                stmts[-1] = []
            else:
                stmt.append((tok, line))
        elif tok == ":" and stmt and stmt[-1][0] in ACCESS and scope == "class":
            stmts[-1] = []
        else:
            stmt.append((tok, line))
        i += 1
    return found


def source_files():
    for folder in SOURCE_FOLDERS:
        for directory, _, files in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(files):
                if name.endswith((".cpp", ".h", ".hpp", ".cc")):
                    yield os.path.join(directory, name)


def read_allow_list():
    allowed = {}
    with open(ALLOW_LIST, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            m = re.match(r"^(\S+):\s*(\w+)\s*$", line)
            if not m:
                sys.exit(f"{ALLOW_LIST}:{number}: expected 'path: variable', got '{raw.rstrip()}'")
            allowed[(m.group(1), m.group(2))] = number
    return allowed


def check(list_all):
    allowed = read_allow_list()
    used = set()
    bad = 0
    for path in source_files():
        rel = os.path.relpath(path, ROOT)
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for line, name, what in findings_in(text):
            key = (rel, name)
            if key in allowed:
                used.add(key)
                if list_all:
                    print(f"{rel}:{line}: {what} '{name}' (allowed)")
                continue
            bad += 1
            print(f"{rel}:{line}: mutable {what} '{name}' is not in scripts/statics-allowlist.txt")
    for key, number in sorted(allowed.items(), key=lambda kv: kv[1]):
        if key not in used:
            bad += 1
            print(f"scripts/statics-allowlist.txt:{number}: '{key[0]}: {key[1]}' matches nothing; remove it")
    if bad:
        print("check-statics: pass state by constructor (the show environment) instead, "
              "or justify the entry in the allow-list")
        return 1
    return 0


SELF_TEST = [
    # (source, expected names)
    ("int g_count = 0;\nstatic bool g_flag;\n", {"g_count", "g_flag"}),
    ("namespace a { namespace { std::atomic<int> g_x{0}; std::mutex m_; } }", {"g_x", "m_"}),
    ("std::function<void()> g_provider;", {"g_provider"}),
    ("int g_pipe[2] = {-1, -1};", {"g_pipe"}),
    ("const int kA = 1; constexpr int kB = 2; static const QString kC = QStringLiteral(\"x\");", set()),
    ("inline constexpr int kD = 3; static constexpr char kE[] = \"e\";", set()),
    ("static int Helper(int x) { return static_cast<int>(x); }\nstatic_assert(sizeof(int) == 4);", set()),
    ("void f() { static int calls = 0; ++calls; }", {"calls"}),
    ("void f() { static const bool avx = Probe(); static constexpr int k = 1; }", set()),
    ("void f() { auto y = static_cast<int>(2.0); static QSet<QString> seen; }", {"seen"}),
    ("void f() { static char* argv[] = {name, nullptr}; }", {"argv"}),
    ("void f() { if (x) { static Cache cache(3); } }", {"cache"}),
    ("class A { public: static int count_; static const int kMax = 3; static void Go(); int member_; };",
     {"count_"}),
    ("class B : public QObject {\n Q_OBJECT\n Q_PROPERTY(int v READ v)\npublic:\n static B* instance;\n"
     " static constexpr int kN = 1;\n};", {"instance"}),
    ("A::A(int x) : a_(x), b_{2} { static int once = 0; }", {"once"}),
    ("auto F() -> int { static int n; return n; }", {"n"}),
    ("extern \"C\" { int exported_state; }", {"exported_state"}),
    ("Foo& Foo::operator=(const Foo& o) { return *this; }\nbool operator==(A, B);", set()),
    ("enum class E : int { A, B };\nstruct S { int a; };\nusing T = int;\ntypedef int U;", set()),
    ("// static int commented;\nconst char* kText = \"static int s;\"; /* int g; */", set()),
    ("#define X static int macro_state\nvoid f() {}", set()),
    ("__extension__ typedef __int128 Int128;", set()),
    ("void f() { auto l = [] { static int inLambda = 0; }; }", {"inLambda"}),
]


def self_test():
    failures = 0
    for source, expected in SELF_TEST:
        got = {name for _, name, _ in findings_in(source)}
        if got != expected:
            failures += 1
            print(f"self-test: {source!r}\n  expected {sorted(expected)}, found {sorted(got)}")
    print(f"check-statics self-test: {len(SELF_TEST) - failures}/{len(SELF_TEST)} cases")
    return 1 if failures else 0


def main(argv):
    if "--self-test" in argv:
        return self_test()
    return check("--list" in argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
