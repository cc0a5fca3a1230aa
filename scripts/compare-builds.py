#!/usr/bin/env python3
"""Differential test of two tarnik-cli builds.

Generates random BASIC programs in the Tarnik dialect, runs each one through
an old and a new build of tarnik-cli (``run --max-steps 200000``) and compares
stdout bytes, stderr bytes and the exit status exactly.

Usage:
    compare-builds.py OLD_CLI NEW_CLI [--count N] [--seed S] [--keep DIR]
                      [--max-steps M] [--timeout T]

Every difference is saved in the --keep folder (program plus both outputs)
and its path is printed. The exit status is 1 if any difference was found,
0 otherwise.
"""

import argparse
import os
import random
import subprocess
import sys
import tempfile

# ---------------------------------------------------------------------------
# Program generator
# ---------------------------------------------------------------------------

# Ordinary variables. Some of them are never assigned before they are read on
# purpose (they must read as 0).
VARS = ["a", "b", "c", "x", "y", "z", "n", "m", "t1", "s2", "total", "acc"]
# Variables that the generator never assigns: reading them gives 0.
UNSET_VARS = ["u", "v9", "never", "q0"]

# Literal pools. Negative numbers are produced separately by wrapping a
# literal in "(-...)", because unary minus is only allowed at the start of an
# expression or right after "(".
SMALL_INTS = [str(i) for i in range(0, 21)]
FRACTIONS = ["0.5", "0.25", "1.5", "2.5", "3.5", "0.1", "0.2", "0.3", "0.7",
             "3.75", "1.1", "0.333333333333333", "0.666666666666667",
             "4.5", "5.5", "6.5", "0.125", "7.25", "1.05", "2.675"]
TIES = ["12345678901234.25", "12345678901234.75", "1234567890123.45",
        "99999999999999.95", "123456789012345.5", "0.000000000000005",
        "2.5", "0.5", "1.5", "32766.5", "32767.5", "0.05"]
BIG = ["1000000000000000", "999999999999999", "100000000000000",
       "999999999999999.5", "999999999999998", "32767", "32768", "65535",
       "65536", "2147483647", "2147483648", "4294967296",
       "123456789012345", "9007199254740993", "1000000000000001"]
TINY = ["0.00000001", "0.000000015", "0.0000001234", "0.00000005",
        "0.000000001", "0.0000000099999", "0.00001"]
EXPONENTS = ["2", "3", "0.5", "10", "15", "16", "20", "50", "100", "300",
             "307", "308", "309", "400", "(-1)", "(-2)", "0.333333333333333",
             "(-300)", "(-400)", "0", "1.5"]

# Short strings used in PRINT (string literals are only allowed there).
STRINGS = ['" "', '""', '"x="', '"结果："', '"  "', '"a,b"', '";"',
           '"第"', '"end"', '"-"', '"0"']


class Generator:
    """Builds one random program as a list of text lines."""

    def __init__(self, rng):
        self.rng = rng
        self.lines = []
        self.next_label = rng.choice([10, 100, 1000, 5])
        self.counter_id = 0
        self.loop_stack = []    # "for" / "do" for the enclosing loops
        self.for_vars = []      # loop variables of enclosing FOR loops
        self.budget = 0         # remaining statements for this program
        self.sub_labels = []    # labels of ordinary subroutines

    # -- small helpers ------------------------------------------------------

    def chance(self, p):
        return self.rng.random() < p

    def pick(self, weighted):
        """Pick from a list of (weight, value) pairs."""
        total = sum(w for w, _ in weighted)
        r = self.rng.random() * total
        for w, v in weighted:
            r -= w
            if r < 0:
                return v
        return weighted[-1][1]

    def label(self):
        """A fresh, unique line label."""
        lab = self.next_label
        self.next_label += self.rng.choice([1, 5, 10, 10, 100])
        return lab

    def fresh_counter(self):
        """A fresh variable name used only as a loop counter."""
        self.counter_id += 1
        return "k%d" % self.counter_id

    def case_variant(self, name):
        """Randomly change letter case: names are case-insensitive."""
        r = self.rng.random()
        if r < 0.75:
            return name
        if r < 0.85:
            return name.upper()
        if r < 0.93:
            return name[0].upper() + name[1:]
        return "".join(ch.upper() if self.chance(0.5) else ch for ch in name)

    def var(self, allow_unset=True):
        """A variable name to read."""
        if allow_unset and self.chance(0.06):
            name = self.rng.choice(UNSET_VARS)
        elif self.for_vars and self.chance(0.25):
            name = self.rng.choice(self.for_vars)
        else:
            name = self.rng.choice(VARS)
        return self.case_variant(name)

    def target(self):
        """A variable name to assign."""
        return self.case_variant(self.rng.choice(VARS))

    def emit(self, indent, text):
        self.lines.append("    " * indent + text)
        self.budget -= 1

    # -- numbers and expressions ---------------------------------------------

    def literal(self):
        """A non-negative numeric literal."""
        pool = self.pick([(40, SMALL_INTS), (25, FRACTIONS), (8, TIES),
                          (7, BIG), (7, TINY), (8, None)])
        if pool is None:
            # A random decimal with a few digits.
            whole = self.rng.choice([0, 1, 2, 3, 7, 10, 99, 1000, 123456])
            digits = self.rng.randint(1, 4)
            frac = self.rng.randint(0, 10 ** digits - 1)
            return "%d.%0*d" % (whole, digits, frac)
        return self.rng.choice(pool)

    def operand(self, depth, allow_neg=True):
        """A simple operand that may be placed anywhere in an expression."""
        r = self.rng.random()
        if r < 0.45:
            return self.var()
        if r < 0.80:
            lit = self.literal()
            if allow_neg and self.chance(0.2):
                return "(-%s)" % lit
            return lit
        if r < 0.90 and depth > 0:
            fn = self.rng.choice(["abs", "abs", "sqr"])
            inner = self.expr(depth - 1)
            if fn == "sqr" and self.chance(0.7):
                # Mostly keep the argument of sqr non-negative.
                inner = "abs(%s)" % inner
            return "%s(%s)" % (fn, inner)
        if depth > 0:
            inner = self.expr(depth - 1)
            if self.chance(0.2):
                return "(-%s)" % self.operand(depth - 1, allow_neg=False)
            return "(%s)" % inner
        return self.var()

    def expr(self, depth=2, lead_minus=True):
        """An arithmetic expression (may contain mod, ^ and functions).

        lead_minus allows a unary minus in front of the whole expression;
        it must be False when the expression follows an operator.
        """
        if depth <= 0 or self.chance(0.3):
            e = self.operand(depth)
        else:
            op = self.pick([(20, "+"), (15, "-"), (15, "*"), (14, "/"),
                            (12, "mod"), (6, "^")])
            left = self.operand(depth - 1)
            if op == "mod" and self.chance(0.7):
                # MOD overflows outside the 32-bit range: keep the left
                # operand mostly a variable or a modest literal.
                left = self.var() if self.chance(0.6) else self.rng.choice(
                    SMALL_INTS + FRACTIONS + ["(-7)", "(-2.5)", "(-0.5)",
                                              "(-13.5)", "32767.5"])
            if op == "^":
                if self.chance(0.15):
                    right = self.rng.choice(EXPONENTS)
                elif self.chance(0.8):
                    right = self.rng.choice(["2", "3", "0.5", "2", "(-1)",
                                             "1.5", "0", "4", "(-2)"])
                else:
                    right = self.operand(0)
            elif op == "/" and self.chance(0.8):
                # Mostly divide by a literal to limit division-by-zero errors.
                right = self.rng.choice(["3", "7", "2", "0.5", "1.5", "2.5",
                                         "0.3", "(-3)", "(-2.5)", "10",
                                         "0.00000001", "1000000000000000"])
            elif op == "mod" and self.chance(0.92):
                # MOD rounds its operands to integers: divisors below 0.5
                # become 0, very large ones overflow. Keep those rare.
                right = self.pick([(20, "3"), (10, "7"), (10, "2"),
                                   (8, "(-3)"), (8, "2.5"), (8, "1.5"),
                                   (6, "(-2.5)"), (5, "3.5"), (5, "0.7"),
                                   (4, "10"), (2, "0.5"), (1, "0.4"),
                                   (1, "2147483648"), (2, "65536")])
            else:
                right = self.operand(depth - 1)
            e = "%s %s %s" % (left, op, right)
            if self.chance(0.3):
                op2 = self.rng.choice(["+", "-", "*", "/", "mod"])
                e = "%s %s %s" % (e, op2, self.operand(0))
        if lead_minus and self.chance(0.07):
            # Unary minus at the start of the whole expression.
            e = "-" + e
        return e

    def comparison(self, depth=1, lead_minus=False):
        a = self.expr(depth, lead_minus=lead_minus)
        b = self.pick([(4, None), (3, "lit"), (2, "frac")])
        if b is None:
            b = self.expr(depth, lead_minus=False)
        elif b == "lit":
            b = self.rng.choice(SMALL_INTS)
        else:
            b = self.rng.choice(FRACTIONS)
        op = self.rng.choice(["<", ">", "=", "<>", ">=", "<="])
        return "%s %s %s" % (a, op, b)

    def condition(self, depth=1):
        """A condition for IF / DO WHILE / LOOP UNTIL."""
        r = self.rng.random()
        if r < 0.55:
            c = self.comparison(depth, lead_minus=True)
        elif r < 0.70:
            c = "not " + self.comparison(depth)
        elif r < 0.90:
            c = "%s %s %s" % (self.comparison(0, lead_minus=True),
                              self.rng.choice(["and", "or", "xor"]),
                              self.comparison(0))
            if self.chance(0.3):
                c = "%s and not %s" % (c, self.comparison(0))
        else:
            # A bare value or a "not" of one.
            c = self.expr(depth)
            if self.chance(0.5):
                c = "not " + self.operand(0)
        return c

    # -- statements -----------------------------------------------------------

    def assignment(self, ind):
        """Assignments, weighted towards the optimised counter forms."""
        t = self.target()
        kind = self.pick([(14, "inc1"), (10, "incc"), (10, "sum"),
                          (6, "dbl"), (7, "third"), (7, "mod"),
                          (5, "neg"), (4, "absq"), (4, "big"), (16, "gen")])
        if kind == "inc1":
            self.emit(ind, "%s = %s + 1" % (t, self.case_variant(t.lower())))
        elif kind == "incc":
            c = self.literal()
            if self.chance(0.3):
                c = "(-%s)" % c
            op = self.rng.choice(["+", "+", "-"])
            self.emit(ind, "%s = %s %s %s" % (t, self.case_variant(t.lower()),
                                             op, c))
        elif kind == "sum":
            op = self.rng.choice(["+", "+", "-", "*"])
            self.emit(ind, "%s = %s %s %s" % (t, self.var(), op, self.var()))
        elif kind == "dbl":
            self.emit(ind, "%s = %s * %s" % (t, t, self.rng.choice(
                ["2", "2", "10", "0.5", "1.5", "(-2)"])))
        elif kind == "third":
            self.emit(ind, "%s = %s / %s" % (t, t, self.rng.choice(
                ["3", "3", "7", "0.3", "(-3)", "9"])))
        elif kind == "mod":
            a = self.pick([(3, self.var()), (2, "(-%s)" % self.literal()),
                           (2, self.literal())])
            b = self.pick([(10, "3"), (6, "2"), (6, "(-3)"), (5, "2.5"),
                           (5, "(-2.5)"), (1, "0.5"), (5, "1.5"), (4, "7"),
                           (1, "0.4"), (4, "3.5"), (1, "(-0.5)"),
                           (1, self.var()), (2, "100000"), (2, "65536"),
                           (3, "(-1.5)"), (3, "0.6")])
            self.emit(ind, "%s = %s mod %s" % (t, a, b))
        elif kind == "neg":
            self.emit(ind, "%s = -%s" % (t, self.operand(1, allow_neg=False)))
        elif kind == "absq":
            self.emit(ind, "%s = %s(%s)" % (
                t, self.rng.choice(["abs", "sqr"]), self.expr(1)))
        elif kind == "big":
            base = self.rng.choice(BIG + TIES + TINY)
            self.emit(ind, "%s = %s %s %s" % (
                t, base, self.rng.choice(["+", "-", "*", "/"]),
                self.rng.choice(["1", "0.5", "3", "0.25", "0.05", "10",
                                 "0.00000001", self.var()])))
        else:
            self.emit(ind, "%s = %s" % (t, self.expr(2)))

    def print_stmt(self, ind):
        n = self.rng.randint(1, 5)
        parts = []
        for i in range(n):
            if self.chance(0.25):
                item = self.rng.choice(STRINGS)
            else:
                item = self.expr(self.rng.randint(0, 2))
            parts.append(item)
        text = parts[0]
        for p in parts[1:]:
            text += self.rng.choice(["; ", "; ", ", ", ";", ","]) + p
        if self.chance(0.12):
            text += self.rng.choice([";", ","])
        if self.chance(0.03):
            self.emit(ind, "print")
            return
        self.emit(ind, "print " + text)

    def if_block(self, ind, depth):
        self.emit(ind, "if %s then" % self.condition())
        self.block(ind + 1, depth + 1, self.rng.randint(1, 3))
        if self.chance(0.45):
            self.emit(ind, "else")
            self.block(ind + 1, depth + 1, self.rng.randint(1, 3))
        self.emit(ind, "end if")

    def for_bounds(self):
        """Start, end and optional step of a FOR loop with a small trip count."""
        kind = self.pick([(30, "int"), (12, "neg"), (14, "frac"),
                          (6, "edge"), (4, "bad"), (4, "var")])
        if kind == "int":
            a = self.rng.randint(-3, 5)
            b = a + self.rng.randint(-1, 6)
            return str(a), str(b), None if self.chance(0.6) else \
                self.rng.choice(["1", "2", "3"])
        if kind == "neg":
            a = self.rng.randint(-2, 8)
            b = a - self.rng.randint(-1, 6)
            step = self.rng.choice(["(-1)", "(-2)", "(-3)", "(-1.5)"])
            return self.signed(a), self.signed(b), step
        if kind == "frac":
            a = self.rng.choice(["0.5", "1.5", "2.5", "0.4", "0.6", "1",
                                 "(-0.5)", "(-1.5)", "3.5"])
            b = self.rng.choice(["4.5", "5.5", "3.5", "2.5", "6.4", "4.6",
                                 "(-2.5)", "0.5", "1.5"])
            step = self.pick([(6, None), (1, "0.5"), (4, "1.5"), (4, "2.5"),
                              (3, "0.6"), (1, "(-0.5)"), (3, "(-1.5)"),
                              (3, "(-2.5)"), (3, "(-1)"), (1, "0.4"),
                              (2, "1.4999"), (2, "(-0.6)"), (2, "3.5")])
            return a, b, step
        if kind == "edge":
            return self.rng.choice([
                ("32765", "32767", None), ("(-32768)", "(-32766)", None),
                ("(-32766)", "(-32768)", "(-1)"), ("32766", "32767.5", None),
                ("32767", "32767", None), ("(-32768.5)", "(-32767)", None),
                ("1", "3", "32767"), ("1", "2", "32768"),
                ("1", "100000", "50000"), ("0", "2", "(-32768)"),
                ("32760", "32767", "3"), ("1", "1", "0")])
        if kind == "bad":
            return self.rng.choice([
                ("1", "3", "0"), ("1", "3", "0.5"), ("1", "3", "(-0.4)"),
                ("1", "40000", None), ("(-40000)", "1", None),
                ("1", "3", "0.00000001")])
        # Bounds from variables / expressions; limited by the step limit.
        a = self.rng.choice(["0", "1", self.var()])
        b = self.rng.choice(["3", "5", "2.5", "abs(%s) mod 7" % self.var(),
                             "%s mod 5" % self.var()])
        return a, b, None

    @staticmethod
    def signed(v):
        return "(%d)" % v if v < 0 else str(v)

    def for_block(self, ind, depth):
        v = self.case_variant(self.rng.choice(["i", "j", "k", "i2", "j2"]))
        while v.lower() in self.for_vars:
            v = self.case_variant(self.rng.choice(["i", "j", "k", "i2", "j2",
                                                   "p", "r"]))
        a, b, step = self.for_bounds()
        # Unary minus is fine at the very start of the bound.
        if a.startswith("(-") and self.chance(0.3):
            a = a[1:-1]
        head = "for %s = %s to %s" % (v, a, b)
        if step is not None:
            head += " step " + step
        self.emit(ind, head)
        self.loop_stack.append("for")
        self.for_vars.append(v.lower())
        next_label = None
        if self.chance(0.25):
            # The NEXT of this loop is reached via GOTO from inside the body.
            next_label = self.label()
            self.block(ind + 1, depth + 1, self.rng.randint(0, 2))
            self.emit(ind + 1, "if %s then" % self.condition(0))
            self.emit(ind + 2, "goto %d" % next_label)
            self.emit(ind + 1, "end if")
            self.block(ind + 1, depth + 1, self.rng.randint(1, 2))
        else:
            self.block(ind + 1, depth + 1, self.rng.randint(1, 4))
        if self.chance(0.05):
            # Changing the loop variable inside the body.
            self.emit(ind + 1, "%s = %s + %s" % (v, v, self.rng.choice(
                ["1", "0.5", "(-1)", "2"])))
        self.for_vars.pop()
        self.loop_stack.pop()
        if next_label is not None:
            self.lines.append("%d  next" % next_label)
            self.budget -= 1
        else:
            self.emit(ind, "next")

    def do_block(self, ind, depth):
        k = self.fresh_counter()
        limit = self.rng.choice(["3", "5", "2.5", "4", "0", "1", "6.5"])
        inc = self.rng.choice(["1", "1", "1", "0.5", "0.1", "0.25", "2"])
        self.emit(ind, "%s = %s" % (k, self.rng.choice(["0", "0", "1",
                                                        "(-1)", "0.5"])))
        self.loop_stack.append("do")
        if self.chance(0.55):
            cond = self.pick([(6, "%s < %s" % (k, limit)),
                              (2, "%s <= %s" % (k, limit)),
                              (2, "not %s >= %s" % (k, limit)),
                              (2, "%s < %s and %s" % (k, limit,
                                                      self.comparison(0))),
                              (1, self.condition(0))])
            self.emit(ind, "do while " + cond)
            self.block(ind + 1, depth + 1, self.rng.randint(1, 3))
            self.emit(ind + 1, "%s = %s + %s" % (k, k, inc))
            self.emit(ind, "loop")
        else:
            # LOOP UNTIL repeats while its condition holds in this dialect.
            self.emit(ind, "do")
            self.block(ind + 1, depth + 1, self.rng.randint(1, 3))
            self.emit(ind + 1, "%s = %s + %s" % (k, k, inc))
            cond = self.pick([(6, "%s < %s" % (k, limit)),
                              (2, "%s <> %s" % (k, limit)),
                              (2, "not %s > %s" % (k, limit)),
                              (1, self.condition(0))])
            self.emit(ind, "loop until " + cond)
        self.loop_stack.pop()

    def goto_loop(self, ind, depth):
        """A loop built from a label and a backward GOTO."""
        k = self.fresh_counter()
        lab = self.label()
        self.emit(ind, "%s = 0" % k)
        self.lines.append("    " * ind + "%d %s = %s + 1" % (lab, k, k))
        self.budget -= 1
        self.block(ind, depth + 1, self.rng.randint(1, 3))
        self.emit(ind, "if %s < %s then" % (k, self.rng.choice(
            ["3", "4", "2.5", "6"])))
        self.emit(ind + 1, "goto %d" % lab)
        self.emit(ind, "end if")

    def goto_skip(self, ind, depth):
        """A forward GOTO that skips a few statements."""
        lab = self.label()
        self.emit(ind, "if %s then" % self.condition(0))
        self.emit(ind + 1, "goto %d" % lab)
        self.emit(ind, "end if")
        self.block(ind, depth + 1, self.rng.randint(1, 2))
        self.lines.append("    " * ind + "%d %s" % (lab, self.simple_text()))
        self.budget -= 1

    def simple_text(self):
        """Text of a simple statement, for lines that carry a label."""
        save = len(self.lines)
        if self.chance(0.5):
            self.assignment(0)
        else:
            self.print_stmt(0)
        text = self.lines.pop()
        assert len(self.lines) == save
        self.budget += 1
        return text

    def exit_stmt(self, ind):
        if not self.loop_stack:
            return
        kind = self.loop_stack[-1] if self.chance(0.85) else \
            self.rng.choice(self.loop_stack)
        self.emit(ind, "if %s then" % self.condition(0))
        self.emit(ind + 1, "exit " + kind)
        self.emit(ind, "end if")

    def gosub_stmt(self, ind):
        if not self.sub_labels:
            return
        self.emit(ind, "gosub %d" % self.rng.choice(self.sub_labels))

    def statement(self, ind, depth):
        nested = depth < 3 and self.budget > 6
        choices = [(30, "assign"), (12, "print")]
        if nested:
            choices += [(8, "if"), (9, "for"), (5, "do"), (3, "gotoloop"),
                        (3, "skip")]
        if self.loop_stack:
            choices.append((4, "exit"))
        if self.sub_labels:
            choices.append((5, "gosub"))
        choices.append((1, "return"))
        kind = self.pick(choices)
        if kind == "assign":
            self.assignment(ind)
        elif kind == "print":
            self.print_stmt(ind)
        elif kind == "if":
            self.if_block(ind, depth)
        elif kind == "for":
            self.for_block(ind, depth)
        elif kind == "do":
            self.do_block(ind, depth)
        elif kind == "gotoloop":
            self.goto_loop(ind, depth)
        elif kind == "skip":
            self.goto_skip(ind, depth)
        elif kind == "exit":
            self.exit_stmt(ind)
        elif kind == "gosub":
            self.gosub_stmt(ind)
        else:
            # RETURN without GOSUB is silently ignored.
            self.emit(ind, "return")

    def block(self, ind, depth, count):
        # At least one statement (blocks must not be empty), more only while
        # the program still has budget left.
        for n in range(count):
            if n > 0 and self.budget <= 0:
                break
            self.statement(ind, depth)

    # -- whole program ---------------------------------------------------------

    def subroutine(self, lab, callable_labels):
        """Body of an ordinary subroutine; it may call later subroutines."""
        saved_lines = self.lines
        saved_subs = self.sub_labels
        self.lines = []
        self.sub_labels = callable_labels
        saved_budget = self.budget
        self.budget = self.rng.randint(3, 12)
        self.lines.append("%d %s" % (lab, self.simple_text()))
        self.block(1, 1, self.rng.randint(1, 4))
        self.emit(1, "return")
        body = self.lines
        self.lines = saved_lines
        self.sub_labels = saved_subs
        self.budget = saved_budget
        return body

    def recursion(self):
        """A recursive subroutine with a depth counter (sometimes very deep)."""
        lab = self.label()
        d = self.fresh_counter()
        depth = self.pick([(10, "5"), (8, "50"), (5, "1000"),
                           (3, "30000"), (2, "100005"), (2, "150000"),
                           (1, "12.5")])
        call = ["%s = 0" % d, "gosub %d" % lab, "print %s" % d]
        if self.chance(0.5):
            # A second call after the first one has unwound.
            call += ["gosub %d" % lab, "print %s; \" \"; %s" % (d, self.var())]
        body = ["%d %s = %s + 1" % (lab, d, d)]
        if self.chance(0.4):
            body.append("    %s = %s + %s" % (self.target(), self.var(),
                                             self.rng.choice(["1", "0.5"])))
        body += ["    if %s < %s then" % (d, depth),
                 "        gosub %d" % lab,
                 "    end if"]
        if self.chance(0.3):
            body.append("    print %s;" % d)
        body.append("    return")
        return call, body

    def cheap_push(self):
        """Push many return addresses with GOSUB to a NEXT line (2 steps each)."""
        lab = self.label()
        v = self.case_variant(self.rng.choice(["p", "r"]))
        n = self.rng.choice(["10", "1000", "30000", "32767"])
        return ["for %s = 1 to %s" % (v, n),
                "    gosub %d" % lab,
                "%d  next" % lab,
                "print \"pushed\"",
                "return",
                "print %s" % v]

    def program(self):
        rng = self.rng
        self.budget = rng.randint(12, 45)
        # Ordinary subroutines; a subroutine may only call later ones, so
        # they cannot recurse into each other.
        nsubs = rng.choice([0, 0, 1, 2, 3])
        labels = [self.label() for _ in range(nsubs)]
        sub_texts = []
        for i, lab in enumerate(labels):
            sub_texts.append(self.subroutine(lab, labels[i + 1:]))
        self.sub_labels = labels
        # Most programs give most variables a non-zero value first, so that
        # divisions by variables do not all fail at once.
        if self.chance(0.85):
            for name in VARS:
                if self.chance(0.8):
                    value = self.pick([(30, str(rng.randint(1, 9))),
                                       (20, rng.choice(FRACTIONS)),
                                       (2, rng.choice(BIG)),
                                       (5, rng.choice(TINY)),
                                       (2, rng.choice(TIES))])
                    if self.chance(0.25):
                        value = "-" + value
                    self.lines.append("%s = %s" % (self.case_variant(name),
                                                   value))
        for _ in range(rng.randint(0, 3)):
            self.assignment(0)
        extra_subs = []
        extra_kind = self.pick([(80, None), (12, "rec"), (3, "push")])
        if extra_kind == "rec":
            call, body = self.recursion()
            at = rng.randint(0, 3)
            self.block(0, 0, at)
            self.lines.extend(call)
            extra_subs.append(body)
        elif extra_kind == "push":
            self.lines.extend(self.cheap_push())
        while self.budget > 0:
            self.statement(0, 0)
        if rng.random() < 0.9:
            self.lines.append("end")
        for text in sub_texts + extra_subs:
            self.lines.extend(text)
        return "\n".join(self.lines) + "\n"


def generate(seed):
    return Generator(random.Random(seed)).program()


# ---------------------------------------------------------------------------
# Running and comparing
# ---------------------------------------------------------------------------

STEP_LIMIT_MARK = "--max-steps".encode()


def run_cli(cli, path, max_steps, timeout):
    """Run one program; returns (stdout, stderr, status)."""
    try:
        p = subprocess.run([cli, "run", "--max-steps", str(max_steps), path],
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, timeout=timeout)
        return p.stdout, p.stderr, p.returncode
    except subprocess.TimeoutExpired as e:
        return e.stdout or b"", e.stderr or b"", "timeout"


def classify(result):
    out, err, status = result
    if status == 0:
        return "normal"
    if status == 1:
        return "error"
    if STEP_LIMIT_MARK in err:
        return "step limit"
    return "other"


def save_difference(keep, name, program, old, new):
    folder = os.path.join(keep, name)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "program.bas"), "w",
              encoding="utf-8", newline="\n") as f:
        f.write(program)
    for tag, res in (("old", old), ("new", new)):
        out, err, status = res
        with open(os.path.join(folder, tag + ".stdout"), "wb") as f:
            f.write(out)
        with open(os.path.join(folder, tag + ".stderr"), "wb") as f:
            f.write(err)
        with open(os.path.join(folder, tag + ".status"), "w") as f:
            f.write("%s\n" % status)
    return folder


def main():
    ap = argparse.ArgumentParser(
        description="Compare two tarnik-cli builds on random programs.")
    ap.add_argument("old_cli")
    ap.add_argument("new_cli")
    ap.add_argument("--count", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keep", default="differences")
    ap.add_argument("--max-steps", type=int, default=200000)
    ap.add_argument("--timeout", type=float, default=60.0,
                    help="seconds allowed for one run of one binary")
    args = ap.parse_args()

    counts = {"normal": 0, "error": 0, "step limit": 0, "other": 0}
    differences = []
    tmpdir = tempfile.mkdtemp(prefix="compare-builds-")
    path = os.path.join(tmpdir, "program.bas")
    for i in range(args.count):
        # Each program has its own seed, so one program can be regenerated.
        pseed = args.seed * 1000003 + i
        program = generate(pseed)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(program)
        old = run_cli(args.old_cli, path, args.max_steps, args.timeout)
        new = run_cli(args.new_cli, path, args.max_steps, args.timeout)
        counts[classify(old)] += 1
        if old != new:
            name = "seed%d-prog%d" % (args.seed, i)
            folder = save_difference(args.keep, name, program, old, new)
            differences.append(folder)
            print("difference: %s" % folder, flush=True)
    os.remove(path)
    os.rmdir(tmpdir)

    print("programs run:      %d" % args.count)
    print("ended normally:    %d" % counts["normal"])
    print("ended with error:  %d" % counts["error"])
    print("ended by step limit: %d" % counts["step limit"])
    if counts["other"]:
        print("other endings:     %d" % counts["other"])
    print("differences:       %d" % len(differences))
    for folder in differences:
        print("  " + folder)
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
