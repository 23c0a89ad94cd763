#!/usr/bin/python3
"""Lists the functions of C++ sources longer than a limit, from the first line
of the signature to the closing brace. Usage:

    function-lengths.py [--max N] FOLDER...
    function-lengths.py --self-test

Reads every .cpp and .h file under the folders; prints each function over
the limit as "path:line: name is N lines" and exits with 1 when there is one.
Namespaces, extern "C" blocks and class bodies are looked into (a method
defined in a class counts as a function); a lambda counts as part of the
function it stands in. Comments, strings and character literals are skipped.
"""
import os
import re
import sys

TRANSPARENT = re.compile(r'\b(namespace|class|struct|union)\b|^\s*extern\s+"C"')
FUNCTION_END = re.compile(r'\)\s*(const|noexcept|override|final|mutable|&|->\s*[\w:<>,&*\s]+)*\s*$')


def blank_out(text):
    """The text with comments, strings and character literals replaced by
    blanks, line breaks kept, so that braces and lines can be counted."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i))
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            open_paren = text.find('(', i)
            delimiter = text[i + 2:open_paren]
            j = text.find(')' + delimiter + '"', open_paren)
            j = n if j < 0 else j + len(delimiter) + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j]))
            i = j
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            j = min(j + 1, n)
            out.append(' ' * (j - i))
            i = j
        elif c == '#' and (i == 0 or text[i - 1] == '\n'):
            j = i
            while True:  # a directive, with its continued lines
                k = text.find('\n', j)
                if k < 0:
                    k = n
                    break
                if text[k - 1] != '\\':
                    break
                j = k + 1
            out.append(re.sub(r'[^\n]', ' ', text[i:k]))
            i = k
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def functions(text):
    """(name, first line, last line) of each function defined in the text."""
    code = blank_out(text)
    found = []
    stack = []  # 'open' (namespace or class: look inside), 'function', 'other'
    head_start = 0  # where the text before the next "{" at this level begins
    for i, c in enumerate(code):
        if c in ';}' and (not stack or stack[-1] == 'open'):
            if c == '}' and stack:
                stack.pop()
            head_start = i + 1
            continue
        if c == '}':
            kind, first = stack.pop()
            if kind == 'function':
                found.append((first[0], first[1], code.count('\n', 0, i) + 1))
            if not stack or stack[-1] == 'open':
                head_start = i + 1
            continue
        if c != '{':
            continue
        if stack and stack[-1] != 'open':
            stack.append(('other', None))
            continue
        head = code[head_start:i]
        stripped = head.strip()
        if TRANSPARENT.search(stripped) and not FUNCTION_END.search(stripped):
            stack.append('open')
            head_start = i + 1
            continue
        if '(' in stripped and '=' not in stripped.split('(')[0] and FUNCTION_END.search(stripped):
            offset = head_start + (len(head) - len(head.lstrip()))
            name = re.findall(r'([~\w:]+)\s*\(', stripped)
            stack.append(('function', (name[0] if name else '?', code.count('\n', 0, offset) + 1)))
        else:
            stack.append(('other', None))
    return found


def self_test():
    """The measure on made-up sources: a method in a class in a namespace, a
    signature on two lines, a lambda inside, braces in strings and comments,
    and what is no function (an array, a lambda at file scope)."""
    body = '\n'.join('  x += %d;  // {' % i for i in range(57))
    text = ('namespace {\nstruct S {\n  int f() {\n' + body + '\n    auto l = [] { return "}"; };\n    return 1;\n'
            '  }\n};\n}  // namespace\nint g(int a,\n      int b) const {\n' + body[body.index('\n') + 1:] + '\n  return a;\n}\n'
            'const int k[] = {1, 2};\nauto h = [](int) { return 0; };\n/* } */ void e() {}\n')
    got = [(name, last - first + 1) for name, first, last in functions(text)]
    want = [('f', 61), ('g', 60), ('e', 1)]
    if got != want:
        print('self-test: measured %s, expected %s' % (got, want))
        return 1
    print('self-test: passed')
    return 0


def main(argv):
    if argv == ['--self-test']:
        return self_test()
    limit = 60
    folders = []
    args = iter(argv)
    for a in args:
        if a == '--max':
            limit = int(next(args))
        else:
            folders.append(a)
    longest = []
    over = 0
    for folder in folders:
        for root, _, names in os.walk(folder):
            for name in sorted(names):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    text = f.read()
                for fn, first, last in functions(text):
                    length = last - first + 1
                    longest.append((length, path, fn))
                    if length > limit:
                        print('%s:%d: %s is %d lines, more than %d' % (path, first, fn, length, limit))
                        over += 1
    longest.sort(reverse=True)
    print('%d functions read; the longest: %s' %
          (len(longest), ', '.join('%s %d' % (fn, n) for n, _, fn in longest[:3])))
    return 1 if over else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
