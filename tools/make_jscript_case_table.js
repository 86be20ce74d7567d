// Prints the table of src/diag/jscript_case.cpp: every UTF-16 unit that
// JScript's IgnoreCase compares as another one, as runs of
// {first, last, step, delta}. The rule is ECMAScript's Canonicalize: the
// character's upper case when that is one character, except that nothing
// beyond ASCII becomes ASCII. Run with Node.js: node tools/make_jscript_case_table.js
'use strict';

function canonical(unit) {
  const upper = String.fromCharCode(unit).toUpperCase();
  if (upper.length !== 1) return unit;
  const mapped = upper.charCodeAt(0);
  return unit >= 0x80 && mapped < 0x80 ? unit : mapped;
}

const runs = [];
for (let unit = 0; unit < 0x10000; ++unit) {
  const mapped = canonical(unit);
  if (mapped === unit) continue;
  if (canonical(mapped) !== mapped) throw new Error('not idempotent at ' + unit.toString(16));
  const delta = (mapped - unit + 0x10000) & 0xffff;
  const run = runs[runs.length - 1];
  const gap = run ? unit - run.last : 0;
  if (run && run.delta === delta && (run.step === 0 ? gap <= 2 : gap === run.step)) {
    run.step = gap;
    run.last = unit;
  } else {
    runs.push({first: unit, last: unit, step: 0, delta});
  }
}

const hex = (n) => '0x' + n.toString(16).toUpperCase().padStart(4, '0');
const cells = runs.map((r) => `{${hex(r.first)}, ${hex(r.last)}, ${r.step || 1}, ${hex(r.delta)}},`);
for (let i = 0; i < cells.length; i += 4) console.log('    ' + cells.slice(i, i + 4).join(' '));
