// The results digest computed in Node through the package equals the native
// tools/movlex_digest's byte for byte; stream states saved by either restore
// in the other. MOVLEX_DIGEST names the native program (scripts/js-check.sh
// builds it); without it the comparison is skipped.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { digest, restored } from './support/digest.js';

const sample = fileURLToPath(new URL('../../data/sample.csv', import.meta.url));
const tool = process.env.MOVLEX_DIGEST;
const native = (...args) => execFileSync(tool, [...args, sample], { encoding: 'utf8', maxBuffer: 1 << 30 });

// The first line that differs, for a readable failure.
function assertSameText(actual, expected, what) {
  if (actual === expected) return;
  const a = actual.split('\n');
  const e = expected.split('\n');
  const line = a.findIndex((text, k) => text !== e[k]);
  assert.fail(`${what}: line ${line + 1} differs:\n  node:   ${a[line]}\n  native: ${e[line]}`);
}

test('the digest equals the native one, and saved states restore both ways', { skip: !tool && 'MOVLEX_DIGEST is not set' }, () => {
  const ours = digest(sample);
  const theirs = native();
  assertSameText(ours.text, theirs, 'digest');

  const folder = mkdtempSync(join(tmpdir(), 'movlex-states-'));
  const ourStates = join(folder, 'node-states.txt');
  writeFileSync(ourStates, ours.states);
  const nativeRestored = native('--restore', ourStates);
  const nodeRestored = restored(theirs, sample);
  assert.match(nodeRestored, /^state loaded sma: rc 0$/m);
  assert.doesNotMatch(nodeRestored + nativeRestored, /rc [^0]/);
  assertSameText(nodeRestored, nativeRestored, 'restored states');
});
