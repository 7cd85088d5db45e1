#!/usr/bin/env python3
# Lists the functions longer than LIMIT lines in the given C++ files (a function's body is
# found by its braces, strings and comments left out) and prints "ok function-length" when
# there is none, else "FAIL function-length" after them.
# Usage: check-function-length.py LIMIT FILE...
import re, sys
limit = int(sys.argv[1]); files = sys.argv[2:]
long_ones = 0
for f in files:
    src = open(f, encoding='utf-8', errors='replace').read()
    # blank out strings/comments
    out = []; i = 0; n = len(src)
    while i < n:
        c = src[i]
        if src.startswith('//', i):
            j = src.find('\n', i); j = n if j < 0 else j; out.append(' ' * (j - i)); i = j
        elif src.startswith('/*', i):
            j = src.find('*/', i) + 2; out.append(''.join(ch if ch == '\n' else ' ' for ch in src[i:j])); i = j
        elif c == '"' or c == "'":
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == '\\' else 1
            out.append(c + ' ' * (j - i - 1) + c); i = j + 1
        else:
            out.append(c); i += 1
    s = ''.join(out)
    lines = s.split('\n')
    stack = []
    # find function bodies: a '{' preceded by ')' (possibly const/override/noexcept) at namespace/class depth
    pos = 0
    for ln, line in enumerate(lines, 1):
        for k, ch in enumerate(line):
            if ch == '{':
                before = s[:pos + k].rstrip()
                isfn = re.search(r'\)\s*(const|override|noexcept|final|mutable|->\s*[\w:<>*&]+|\s)*$', before) is not None
                stack.append((ln, isfn and not any(x[1] for x in stack)))
            elif ch == '}':
                if stack:
                    sl, isfn = stack.pop()
                    if isfn and ln - sl + 1 > limit:
                        # name: text of the line where the body opened
                        print(f"{f}:{sl}: {ln - sl + 1} lines: {lines[sl-1].strip()[:80]}")
                        long_ones += 1
        pos += len(line) + 1
print("FAIL function-length" if long_ones else "ok function-length")
sys.exit(1 if long_ones else 0)
