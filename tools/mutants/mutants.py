#!/usr/bin/env python3
"""Plants small faults in the sources, one at a time, and tells which ones the
tests do not notice (`./pvr mutants`, README "Planted faults").

For each planted fault: write the changed file, rebuild the test programs that
cover its folder (ninja), run their tests one per process (each with a time
limit) until one fails, put the file back. A fault that no test notices is a
survivor, printed as "file:line: change". The last line is always
"caught N of M planted faults".

The file is put back from a saved copy whatever ends the run (a failed build,
Ctrl+C, SIGTERM); a copy left behind by a run that was killed outright is put
back by the next run before it starts.
"""

import argparse
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HERE = os.path.join(ROOT, "tools", "mutants")

# Source folders (or files, longest prefix wins) and the test programs that
# exercise them. A fault is run against these only: one that only a distant
# test program would catch counts as a survivor, so the figures err low.
TESTS_FOR = [
    ("src/actions/Move", ["move"]),
    ("src/actions/BackgroundStatus", ["move"]),
    ("src/actions/Progress", ["move", "browse"]),
    ("src/actions/Rename", ["rename"]),
    ("src/actions/AutoRename", ["rename"]),
    ("src/actions/RecycleBin", ["recycle", "delete"]),
    ("src/actions/AllRecycleWindow", ["recycle"]),
    ("src/actions/Delete", ["delete", "recycle"]),
    ("src/actions/Stop", ["browse"]),
    ("src/actions/Playback", ["browse", "apps"]),
    ("src/actions/Guard", ["browse", "delete", "move"]),
    ("src/actions/", ["browse", "delete"]),
    ("src/app/", ["app", "browse"]),
    ("src/apps/StatusScreen", ["browse"]),
    ("src/apps/Uptime", ["browse"]),
    ("src/apps/MediaFiles", ["browse"]),
    ("src/apps/ShellFiles", ["browse"]),
    ("src/apps/", ["apps"]),
    ("src/ui/FirmwareCheck", ["browse"]),
    ("src/ui/Logos", ["apps", "ui"]),
    ("src/ui/ListDraw", ["ui", "apps"]),
    ("src/ui/", ["ui"]),
    ("src/config/ConfigMenu", ["browse"]),
    ("src/config/", ["config", "browse"]),
    ("src/catalogue/LastViewFile", ["history"]),
    ("src/catalogue/PlayDataFile", ["history"]),
    ("src/catalogue/PlayedFiles", ["history", "catalogue"]),
    ("src/catalogue/", ["catalogue"]),
    ("src/lib/", ["lib"]),
    ("firmware/relay", ["image"]),
    ("firmware/", ["firmware"]),
    ("peers/BackgroundCopy", ["peers", "move"]),
    ("peers/", ["peers"]),
]

# "image" stands for the scenarios of tests/image/run.sh, which compare the
# native build with the release images under qemu: the only runs that go
# through the image host's relay. They need the images (./pvr tap).
IMAGE_SCRIPT = "tests/image/run.sh"
IMAGE_TARGET = "recorder"


def image_scenarios():
    if not os.path.exists(os.path.join(ROOT, "build-tap", "taphost")):
        sys.exit("mutants: build-tap/ holds no release images; run ./pvr tap first (the image "
                 "scenarios are the only tests of the relay)")
    with open(os.path.join(ROOT, IMAGE_SCRIPT)) as f:
        return re.findall(r'^  "([a-z][a-z-]*)\|', f.read(), re.M)


# Never mutated: generated tables and the texts of the messages.
SKIPPED = [
    re.compile(r"^src/ui/fonts/"),
    re.compile(r"^src/ui/graphics/"),
    re.compile(r"Texts\.cpp$"),
]

KEYWORDS = {
    "if", "for", "while", "switch", "return", "sizeof", "do", "else", "case", "delete",
    "new", "goto", "static_assert", "alignof", "decltype", "typedef", "using", "default",
    "catch", "throw", "template", "operator",
}


class Mutant:
    __slots__ = ("path", "line", "first", "last", "replacement", "change", "text", "occurrence",
                 "copies")

    def __init__(self, path, line, first, last, replacement, change, text):
        self.path = path  # relative to ROOT
        self.line = line  # 1-based, first line changed
        self.first = first  # 0-based index of the first line replaced
        self.last = last  # 0-based index of the last line replaced
        self.replacement = replacement  # the lines that replace first..last
        self.change = change  # what changed, for people
        self.text = text  # the original line, stripped: the key of the equivalents list
        self.occurrence = 1  # which of the file's lines with this text (from 1)
        self.copies = 1  # how many lines of the file have this text

    def where(self):
        return "%s:%d" % (self.path, self.line)


# ------------------------------------------------------------------ masking
def mask_lines(lines):
    """The code of each line with comments, string and character literals and
    preprocessor lines blanked (same length), so that rules match code only."""
    out = []
    in_block = False
    in_pp = False
    for line in lines:
        chars = list(line)
        n = len(chars)
        if not in_block and (in_pp or line.lstrip().startswith("#")):
            in_pp = line.rstrip().endswith("\\")
            out.append(" " * n)
            continue
        i = 0
        while i < n:
            c = chars[i]
            if in_block:
                if line.startswith("*/", i):
                    chars[i] = chars[i + 1] = " "
                    in_block = False
                    i += 2
                    continue
                chars[i] = " "
                i += 1
            elif line.startswith("//", i):
                for j in range(i, n):
                    chars[j] = " "
                break
            elif line.startswith("/*", i):
                chars[i] = chars[i + 1] = " "
                in_block = True
                i += 2
            elif c == '"' or (c == "'" and not (i > 0 and line[i - 1].isalnum())):
                # A string or character literal (a digit separator 1'000 is not one).
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                for k in range(i, min(j + 1, n)):
                    chars[k] = " "
                i = j + 1
            else:
                i += 1
        out.append("".join(chars))
    return out


# -------------------------------------------------------------------- rules
REL_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
REL_RE = re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")
LOGIC_RE = re.compile(r"(?<= )(&&|\|\|)(?= )")
INT_AFTER_RE = re.compile(r" (-?)(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.])")
INT_BEFORE_RE = re.compile(r"(?<![\w.])(-?)(0[xX][0-9a-fA-F]+|\d+)([uUlL]*) $")
RETURN_RE = re.compile(r"\breturn (-1|0|1|true|false);")
RETURN_FLIP = {"0": "1", "1": "0", "-1": "0", "true": "false", "false": "true"}
NOT_RE = re.compile(r"(?<![!=<>])!(?!=)")
CALL_START_RE = re.compile(r"^(\s*)((?:::)?[A-Za-z_]\w*(?:\s*(?:::|\.|->)\s*[A-Za-z_]\w*)*)\s*\(")


def literal_text(sign, digits, suffix, delta):
    value = int(digits, 16) if digits[:2].lower() == "0x" else int(digits)
    if sign:
        value = -value
    value += delta
    if digits[:2].lower() == "0x" and value >= 0:
        return "0x%X%s" % (value, suffix)
    return "%d%s" % (value, suffix)


def splice(line, start, end, new):
    return line[:start] + new + line[end:]


def word_before(line, start):
    """The operand that ends at `start` (before the blank), for telling
    mutants of the same line apart."""
    j = start
    while j > 0 and line[j - 1] == " ":
        j -= 1
    i = j
    while i > 0 and line[i - 1] not in " (!":
        i -= 1
    return line[i:j][-24:]


def word_after(line, end):
    i = end
    while i < len(line) and line[i] == " ":
        i += 1
    j = i
    depth = 0
    while j < len(line):
        c = line[j]
        if c == "(":
            depth += 1
        elif c == ")":
            if depth == 0:
                break
            depth -= 1
        elif depth == 0 and c in " ;,?":
            break
        j += 1
    return line[i:j][:24]


def line_mutants(path, index, line, code):
    """Mutants that change one line."""
    found = []
    text = line.strip()

    def add(new_line, change):
        found.append(Mutant(path, index + 1, index, index, [new_line], change, text))

    for m in REL_RE.finditer(code):
        op = m.group(1)
        left, right = word_before(line, m.start()), word_after(line, m.end())
        add(splice(line, m.start(), m.end(), REL_SWAP[op]),
            "`%s %s %s` -> `%s %s %s`" % (left, op, right, left, REL_SWAP[op], right))
        # Boundary constants: an integer literal compared with.
        after = INT_AFTER_RE.match(code, m.end())
        if after:
            s, e = after.start(1), after.end(3)
            for delta in (1, -1):
                new = literal_text(after.group(1), after.group(2), after.group(3), delta)
                add(splice(line, s, e, new),
                    "`%s %s %s` -> `%s %s %s`" % (left, op, line[s:e], left, op, new))
        before = INT_BEFORE_RE.search(code, 0, m.start())
        if before:
            s, e = before.start(1), before.end(3)
            for delta in (1, -1):
                new = literal_text(before.group(1), before.group(2), before.group(3), delta)
                add(splice(line, s, e, new),
                    "`%s %s %s` -> `%s %s %s`" % (line[s:e], op, right, new, op, right))
    for m in LOGIC_RE.finditer(code):
        other = "||" if m.group(1) == "&&" else "&&"
        left, right = word_before(line, m.start()), word_after(line, m.end())
        add(splice(line, m.start(), m.end(), other),
            "`%s %s %s` -> `%s %s %s`" % (left, m.group(1), right, left, other, right))
    for m in RETURN_RE.finditer(code):
        value = m.group(1)
        new = "return %s;" % RETURN_FLIP[value]
        add(splice(line, m.start(), m.end(), new), "`return %s` -> `%s`" % (value, new[:-1]))
    for m in NOT_RE.finditer(code):
        operand = word_after(line, m.start() + 1)
        add(splice(line, m.start(), m.start() + 1, ""), "`!%s` -> `%s`" % (operand, operand))
    return found


def previous_code(masked, index):
    for j in range(index - 1, -1, -1):
        stripped = masked[j].strip()
        if stripped:
            return stripped
    return ""


def call_mutant(path, lines, masked, index):
    """A statement that is a call alone (`Redraw();`, `fsync(fd);`,
    `if (!x) Fail();` is not one), deleted; it may run over several lines."""
    code = masked[index]
    m = CALL_START_RE.match(code)
    if not m:
        return None
    first_word = re.match(r"(?:::)?([A-Za-z_]\w*)", m.group(2)).group(1)
    if first_word in KEYWORDS:
        return None
    prev = previous_code(masked, index)
    if not prev or not (prev.endswith((";", "{", "}", ")", ":")) or prev == "else"):
        return None
    if prev.endswith(":") and "?" in prev:
        return None
    depth = 0
    j = index
    col = m.end() - 1
    while j < len(masked):
        seg = masked[j]
        start = col if j == index else 0
        for k in range(start, len(seg)):
            ch = seg[k]
            if ch == "(":
                depth += 1
            elif ch == ")":
                depth -= 1
                if depth == 0:
                    rest = seg[k + 1:].strip()
                    if rest != ";":
                        return None
                    indent = m.group(1)
                    replacement = [indent + "{}"] + [""] * (j - index)
                    shown = " ".join(lines[t].strip() for t in range(index, j + 1))
                    if len(shown) > 70:
                        shown = shown[:67] + "..."
                    return Mutant(path, index + 1, index, j, replacement,
                                  "call deleted: `%s`" % shown, lines[index].strip())
        j += 1
        if j - index > 12:
            return None
    return None


def file_mutants(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="surrogateescape") as f:
        lines = f.read().split("\n")
    head = "\n".join(lines[:5])
    if "Generated by" in head or "do not edit" in head.lower():
        return []
    masked = mask_lines(lines)
    found = []
    for i, (line, code) in enumerate(zip(lines, masked)):
        if not code.strip():
            continue
        call = call_mutant(path, lines, masked, i)
        if call:
            found.append(call)
        found.extend(line_mutants(path, i, line, code))
    # Lines of the same text are told apart by their order in the file.
    seen = {}
    occurrence = []
    for line in lines:
        seen[line.strip()] = seen.get(line.strip(), 0) + 1
        occurrence.append(seen[line.strip()])
    for m in found:
        m.occurrence = occurrence[m.first]
        m.copies = seen[m.text]
    return found


# ------------------------------------------------------------ the equivalents
def load_equivalents():
    """tools/mutants/equivalent.txt: FILE <tab> LINE TEXT <tab> CHANGE <tab> REASON. A text
    that several lines of the file have names its line by its order: "TEXT #2"."""
    table = {}
    name = os.path.join(HERE, "equivalent.txt")
    if not os.path.exists(name):
        return table
    with open(name, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            raw = raw.rstrip("\n")
            if not raw.strip() or raw.startswith("#"):
                continue
            parts = raw.split("\t")
            if len(parts) != 4:
                sys.exit("mutants: %s:%d: expected FILE, LINE TEXT, CHANGE and REASON "
                         "separated by tabs" % (name, number))
            text = parts[1].strip()
            nth = re.match(r"^(.*?)\s+#(\d+)$", text)
            key = (nth.group(1), int(nth.group(2))) if nth else (text, None)
            table[(parts[0], key[0], parts[2], key[1])] = parts[3]
    return table


def equivalent_reason(equivalents, m):
    """The listed reason for fault m, if any. An entry without "#N" stands only
    for a text that one line of the file has."""
    reason = equivalents.get((m.path, m.text, m.change, m.occurrence))
    if reason is None and m.copies == 1:
        reason = equivalents.get((m.path, m.text, m.change, None))
    return reason


# ------------------------------------------------------------------ choosing
def wanted(path):
    return path.endswith(".cpp") and not any(p.search(path) for p in SKIPPED)


def split_lines(p):
    """PATH, PATH:LINE or PATH:FIRST-LAST: the path and the lines (None: all)."""
    m = re.match(r"^(.*):(\d+)(?:-(\d+))?$", p)
    if not m:
        return p, None
    first = int(m.group(2))
    return m.group(1), (first, int(m.group(3) or first))


def source_files(paths):
    """The files named (folders: every file below them) and, per file, the
    lines to which planting is limited (None: all)."""
    files = []
    limits = {}
    for given in paths:
        p, lines = split_lines(given)
        rel = os.path.relpath(os.path.abspath(p), ROOT)
        full = os.path.join(ROOT, rel)
        if os.path.isdir(full):
            for base, dirs, names in os.walk(full):
                dirs.sort()
                for n in sorted(names):
                    r = os.path.relpath(os.path.join(base, n), ROOT)
                    if wanted(r) and tests_for(r):
                        files.append(r)
        elif os.path.isfile(full):
            if not tests_for(rel):
                print("mutants: %s: no test program is mapped to it, skipped" % rel,
                      file=sys.stderr)
            elif wanted(rel):
                files.append(rel)
                if lines:
                    limits.setdefault(rel, []).append(lines)
        else:
            sys.exit("mutants: %s: no such file or folder" % p)
        if lines and not os.path.isfile(full):
            sys.exit("mutants: %s: lines can be given for a file only" % given)
    return sorted(set(files)), limits


def changed_files():
    """The sources this branch changed against where it left the main line."""
    for base in ("main", "origin/main", "master"):
        r = subprocess.run(["git", "merge-base", "HEAD", base], cwd=ROOT, capture_output=True,
                           text=True)
        if r.returncode == 0:
            merge_base = r.stdout.strip()
            break
    else:
        sys.exit("mutants: no main branch to compare with; name the files or folders")
    r = subprocess.run(["git", "diff", "--name-only", merge_base, "--", "src", "firmware",
                        "peers"], cwd=ROOT, capture_output=True, text=True, check=True)
    names = [n for n in r.stdout.split() if os.path.exists(os.path.join(ROOT, n))]
    return [n for n in names if wanted(n) and tests_for(n)]


def tests_for(path):
    best = None
    for prefix, programs in TESTS_FOR:
        if path.startswith(prefix) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, programs)
    return best[1] if best else []


# ------------------------------------------------------------------- running
class Stop(Exception):
    pass


def on_signal(signum, frame):
    raise Stop("signal %d" % signum)


class Runner:
    def __init__(self, args):
        self.build = os.path.abspath(args.build)
        self.timeout = args.timeout
        self.jobs = args.jobs
        self.verbose = args.verbose
        self.state = os.path.join(self.build, "mutants")
        self.backup_dir = os.path.join(self.state, "saved")
        self.test_lists = {}
        self.killers_file = os.path.join(self.state, "killers.json")
        try:
            with open(self.killers_file) as f:
                self.killers = json.load(f)
        except (OSError, ValueError):
            self.killers = {}
        self.touched_programs = set()

    def log(self, text):
        print(text, file=sys.stderr, flush=True)

    # Saved copies -------------------------------------------------------
    def restore_leftovers(self):
        """Puts back any file a killed run left changed."""
        if not os.path.isdir(self.backup_dir):
            return
        for base, _, names in os.walk(self.backup_dir):
            for n in names:
                saved = os.path.join(base, n)
                rel = os.path.relpath(saved, self.backup_dir)
                shutil.copyfile(saved, os.path.join(ROOT, rel))
                os.remove(saved)
                self.log("mutants: %s put back from the copy an interrupted run left" % rel)

    def save(self, path):
        saved = os.path.join(self.backup_dir, path)
        os.makedirs(os.path.dirname(saved), exist_ok=True)
        shutil.copyfile(os.path.join(ROOT, path), saved)
        return saved

    def put_back(self, path, saved):
        # Not to be cut short by Ctrl+C. A new modification time (not the
        # original one), so that ninja rebuilds from the original text.
        old = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
        try:
            shutil.copyfile(saved, os.path.join(ROOT, path))
            os.remove(saved)
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, old)

    # Building -----------------------------------------------------------
    def ninja(self, programs, quiet=True):
        targets = [IMAGE_TARGET if p == "image" else "test_" + p for p in programs]
        cmd = ["ninja", "-C", self.build, "-j", str(self.jobs)] + targets
        r = subprocess.run(cmd, capture_output=True, text=True)
        if r.returncode != 0 and not quiet:
            self.log(r.stdout[-4000:] + r.stderr[-2000:])
        return r.returncode == 0

    # Testing ------------------------------------------------------------
    def tests_of(self, program):
        if program == "image" and program not in self.test_lists:
            self.test_lists[program] = image_scenarios()
        if program not in self.test_lists:
            exe = os.path.join(self.build, "tests", "test_" + program)
            r = subprocess.run([exe, "--gtest_list_tests"], capture_output=True, text=True,
                               timeout=120)
            names = []
            suite = ""
            for raw in r.stdout.splitlines():
                line = raw.split("#")[0].rstrip()
                if not line.strip():
                    continue
                if not raw.startswith(" "):
                    suite = line.strip()
                else:
                    name = suite + line.strip()
                    if "DISABLED_" not in name:
                        names.append(name)
            self.test_lists[program] = names
        return self.test_lists[program]

    def run_test(self, program, name):
        """0 passed, 1 failed, 2 timed out."""
        if program == "image":
            command = [os.path.join(ROOT, IMAGE_SCRIPT), name]
        else:
            command = [os.path.join(self.build, "tests", "test_" + program), "--gtest_filter=" + name]
        proc = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                start_new_session=True, cwd=self.build)
        try:
            rc = proc.wait(timeout=self.timeout)
            return 0 if rc == 0 else 1
        except subprocess.TimeoutExpired:
            return 2
        finally:
            # The test's recorder and shells go with it.
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            proc.wait()

    def ordered_tests(self, mutant, programs):
        """Every test of the programs; first those that caught faults in the
        same file before, then those named after the file."""
        stem = os.path.splitext(os.path.basename(mutant.path))[0].lower()
        earlier = self.killers.get(mutant.path, [])
        everything = [(p, t) for p in programs for t in self.tests_of(p)]

        def rank(pt):
            key = "%s %s" % pt
            if key in earlier:
                return (0, earlier.index(key))
            suite = pt[1].split(".")[0].lower()
            return (1 if stem[:4] in suite or suite[:4] in stem else 2, 0)

        return sorted(everything, key=rank)

    def remember_killer(self, path, program, name):
        key = "%s %s" % (program, name)
        lst = self.killers.setdefault(path, [])
        if key in lst:
            lst.remove(key)
        lst.insert(0, key)
        del lst[8:]

    def try_mutant(self, mutant):
        """('caught', test), ('survived', None) or ('unbuilt', None)."""
        full = os.path.join(ROOT, mutant.path)
        with open(full, encoding="utf-8", errors="surrogateescape") as f:
            lines = f.read().split("\n")
        saved = self.save(mutant.path)
        programs = tests_for(mutant.path)
        self.touched_programs.update(programs)
        try:
            changed = lines[:mutant.first] + mutant.replacement + lines[mutant.last + 1:]
            with open(full, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write("\n".join(changed))
            if not self.ninja(programs, quiet=not self.verbose):
                return ("unbuilt", None)
            for program, name in self.ordered_tests(mutant, programs):
                result = self.run_test(program, name)
                if result:
                    self.remember_killer(mutant.path, program, name)
                    how = "timed out" if result == 2 else "failed"
                    return ("caught", "%s %s (%s)" % (program, name, how))
            return ("survived", None)
        finally:
            self.put_back(mutant.path, saved)

    def finish(self):
        """Rebuilds from the original sources, so that the build folder holds
        no planted fault afterwards; keeps what caught what."""
        os.makedirs(self.state, exist_ok=True)
        with open(self.killers_file, "w") as f:
            json.dump(self.killers, f, indent=1, sort_keys=True)
        if self.touched_programs:
            self.log("mutants: rebuilding from the original sources")
            return self.ninja(sorted(self.touched_programs), quiet=False)
        return True


def sample_key(seed, mutant):
    """Where a fault falls in the sample of a seed: from the seed, the file, the
    line's text and the change alone, so that editing other lines (or moving
    this one) neither takes it out of the sample nor brings others in."""
    text = "%d\t%s\t%s\t%s" % (seed, mutant.path, mutant.text, mutant.change)
    return (hashlib.sha1(text.encode("utf-8", "surrogateescape")).hexdigest(), mutant.line)


def main():
    parser = argparse.ArgumentParser(
        prog="pvr mutants",
        description="Plant small faults, one at a time, and report those no test catches.")
    parser.add_argument("paths", nargs="*", metavar="PATH",
                        help="source files or folders, a file also as FILE:LINE or "
                        "FILE:FIRST-LAST (default: the files this branch changed)")
    parser.add_argument("--max", type=int, default=0, metavar="N",
                        help="plant at most N faults, a sample chosen by the seed")
    parser.add_argument("--seed", type=int, default=None, metavar="S",
                        help="seed of the sample (printed when not given)")
    parser.add_argument("--timeout", type=float, default=120, metavar="SECONDS",
                        help="time limit of each test (default 120); a test that runs over "
                        "catches the fault")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), metavar="DIR",
                        help="the configured build folder (default build/)")
    parser.add_argument("--jobs", type=int, default=2, metavar="N", help="ninja's jobs (2)")
    parser.add_argument("--list", action="store_true",
                        help="list the faults that would be planted, plant none")
    parser.add_argument("--verbose", action="store_true", help="show failed builds")
    args = parser.parse_args()

    limits = {}
    if args.paths:
        files, limits = source_files(args.paths)
    else:
        files = changed_files()
        print("mutants: the files this branch changed: %s" % (" ".join(files) or "none"),
              file=sys.stderr)
    pool = [m for f in files for m in file_mutants(f)
            if f not in limits or any(a <= m.line <= b for a, b in limits[f])]
    equivalents = load_equivalents()
    chosen = pool
    if args.max and len(pool) > args.max:
        seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1, 100000)
        if args.seed is None:
            print("mutants: seed %d (the same sample again: --seed %d)" % (seed, seed),
                  file=sys.stderr)
        chosen = sorted(pool, key=lambda m: sample_key(seed, m))[:args.max]
        chosen.sort(key=lambda m: (files.index(m.path), m.line))
    print("mutants: %d faults in %d files, %d chosen" % (len(pool), len(files), len(chosen)),
          file=sys.stderr)

    planted = []
    for m in chosen:
        reason = equivalent_reason(equivalents, m)
        if reason:
            print("%s: %s: equivalent: %s" % (m.where(), m.change, reason), flush=True)
        else:
            planted.append(m)
    if args.list:
        for m in planted:
            print("%s: %s" % (m.where(), m.change))
        print("listed %d faults, planted none" % len(planted))
        return 0

    runner = Runner(args)
    if not os.path.exists(os.path.join(runner.build, "build.ninja")):
        sys.exit("mutants: %s is not configured; run ./pvr build first" % runner.build)
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)
    runner.restore_leftovers()
    caught = survived = unbuilt = 0
    killers = {}
    interrupted = False
    started = time.monotonic()
    try:
        programs = sorted({p for m in planted for p in tests_for(m.path)})
        if programs and not runner.ninja(programs, quiet=False):
            sys.exit("mutants: the unchanged sources do not build")
        for n, m in enumerate(planted, 1):
            t0 = time.monotonic()
            outcome, by = runner.try_mutant(m)
            runner.log("mutants: [%d/%d] %s: %s: %s%s (%.0f s)" % (
                n, len(planted), m.where(), m.change, outcome, " by " + by if by else "",
                time.monotonic() - t0))
            if outcome == "caught":
                caught += 1
                killers.setdefault(by.rsplit(" (", 1)[0], []).append(m)
            elif outcome == "survived":
                survived += 1
                print("%s: %s" % (m.where(), m.change), flush=True)
            else:
                unbuilt += 1
    except Stop as e:
        interrupted = True
        runner.log("mutants: stopped (%s); the file is back as it was" % e)
    finally:
        signal.signal(signal.SIGINT, signal.SIG_IGN)
        signal.signal(signal.SIGTERM, signal.SIG_IGN)
        rebuilt = runner.finish()

    # A test that fails without any planted fault caught nothing.
    false_catches = 0
    if rebuilt and killers and not interrupted:
        for key, mutants in sorted(killers.items()):
            program, name = key.split(" ", 1)
            if runner.run_test(program, name) != 0:
                runner.log("mutants: %s %s fails on the unchanged sources too: its %d catches "
                           "do not count" % (program, name, len(mutants)))
                false_catches += len(mutants)
                caught -= len(mutants)
                for m in mutants:
                    print("%s: %s (not known: the catching test fails anyway)" % (
                        m.where(), m.change))
    total = caught + survived + false_catches
    runner.log("mutants: %d did not build (not counted); %.0f s" % (
        unbuilt, time.monotonic() - started))
    print("caught %d of %d planted faults" % (caught, total))
    if interrupted:
        return 130
    if not rebuilt:
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
