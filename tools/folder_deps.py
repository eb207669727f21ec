#!/usr/bin/python3
"""Lists the folder-to-folder include edges of the C++ sources and fails on a cycle.

A folder is the directory a file lives in ("client/mainwnd", "client/mainwnd/tests",
"tools/testsupport"). An edge A -> B means a file in A includes a file in B. Folders
that include each other, directly or around a longer loop, are a cycle: the layers
of the project (see README.md, "Layout") only ever look down.

    tools/folder_deps.py [--root DIR] [--list] [--allow A,B,...]
    tools/folder_deps.py --self-test

    --list   print every edge ("A -> B  (n includes)") before the verdict
    --allow  tolerate a cycle made of exactly these folders (repeatable); a cycle
             that reaches one folder more still fails
    --self-test  checks the checker on a small tree of its own
Exit status: 0 without a cycle, 1 with one (each cycle's folders are printed).
"""

import argparse
import re
import sys
from pathlib import Path

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
SKIPPED_TOP = {"build", ".git"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# Where an include path that is not relative to its file may start, besides the root.
EXTRA_INCLUDE_ROOTS = ["engine/include"]


def sources(root):
    for path in sorted(root.rglob("*")):
        rel = path.relative_to(root)
        if rel.parts[0] in SKIPPED_TOP or rel.parts[0].startswith("build"):
            continue
        if path.suffix in SOURCE_SUFFIXES and path.is_file():
            yield path


def resolve(root, includer, name):
    """The included file inside the tree, or None for a header from elsewhere."""
    for base in [includer.parent, root] + [root / extra for extra in EXTRA_INCLUDE_ROOTS]:
        candidate = (base / name).resolve()
        if candidate.is_file() and root in candidate.parents:
            return candidate
    return None


def folder_edges(root):
    """{(from folder, to folder): number of includes} between different folders."""
    edges = {}
    for path in sources(root):
        text = path.read_text(encoding="utf-8", errors="replace")
        here = path.parent.relative_to(root).as_posix()
        for name in INCLUDE.findall(text):
            target = resolve(root, path, name)
            if target is None:
                continue
            there = target.parent.relative_to(root).as_posix()
            if there != here:
                edges[(here, there)] = edges.get((here, there), 0) + 1
    return edges


def cycles(edges):
    """The strongly connected components with more than one folder (Tarjan)."""
    graph = {}
    for a, b in edges:
        graph.setdefault(a, []).append(b)
        graph.setdefault(b, [])
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for succ in sorted(graph[node]):
            if succ not in index:
                visit(succ)
                low[node] = min(low[node], low[succ])
            elif succ in on_stack:
                low[node] = min(low[node], index[succ])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return sorted(found)


def self_test():
    """A loop a -> b -> a, a folder c hanging below it, a header from outside."""
    import tempfile
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp).resolve()
        files = {"a/A.h": '#include "b/B.h"\n#include <vector>\n',
                 "b/B.h": '#include "a/A.h"\n#include "zlib.h"\n',
                 "c/C.cpp": '#include "a/A.h"\n#include "C.h"\n', "c/C.h": "",
                 "d/D.h": '#include "c/C.h"\n'}
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text)
        edges = folder_edges(root)
        expected = {("a", "b"): 1, ("b", "a"): 1, ("c", "a"): 1, ("d", "c"): 1}
        assert edges == expected, edges
        assert cycles(edges) == [["a", "b"]], cycles(edges)
        del edges[("b", "a")]
        assert cycles(edges) == [], cycles(edges)
        edges[("a", "d")] = 1
        assert cycles(edges) == [["a", "c", "d"]], cycles(edges)
    print("self-test passed")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", default=Path(__file__).resolve().parent.parent, type=Path)
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--allow", action="append", default=[])
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    root = args.root.resolve()
    edges = folder_edges(root)
    if args.list:
        for (a, b), count in sorted(edges.items()):
            print(f"{a} -> {b}  ({count})")
    allowed = [sorted(a.split(",")) for a in args.allow]
    loops = cycles(edges)
    failed = False
    for loop in loops:
        inner = [f"{a} -> {b}" for (a, b) in sorted(edges) if a in loop and b in loop]
        verdict = "allowed cycle" if loop in allowed else "cycle"
        failed |= loop not in allowed
        print(f"{verdict}: " + ", ".join(loop) + "\n    " + "\n    ".join(inner))
    for loop in allowed:
        if loop not in loops:
            print("no longer a cycle, drop its --allow: " + ",".join(loop))
    print(f"{len(edges)} folder edges, " + ("a cycle" if failed else "no cycle"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
