// Times two LRC parsers from the npm registry on the UTF-8 corpora: read the file and parse it,
// as the suite's own loader does. Prints one JSON object: {corpus: {parser: median ns}}.
'use strict';
const fs = require('fs');
const path = require('path');
const { Lyrics } = require('paroles');
const { Lrc } = require('lrc-kit');

const dir = process.argv[2];
const parsers = {
  paroles: (text) => new Lyrics(text).lines.length,
  'lrc-kit': (text) => Lrc.parse(text).lyrics.length,
};

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

const results = {};
for (const corpus of ['typical', 'big', 'multi']) {
  const file = path.join(dir, `${corpus}.utf8.lrc`);
  results[corpus] = {};
  for (const [name, parse] of Object.entries(parsers)) {
    // Small files are timed in batches so the clock's resolution does not dominate.
    const batch = corpus === 'typical' ? 2000 : 1;
    const rounds = corpus === 'typical' ? 15 : 11;
    for (let i = 0; i < 3; i++) parse(fs.readFileSync(file, 'utf8'));  // warm-up
    const samples = [];
    for (let r = 0; r < rounds; r++) {
      const start = process.hrtime.bigint();
      for (let b = 0; b < batch; b++) parse(fs.readFileSync(file, 'utf8'));
      samples.push(Number(process.hrtime.bigint() - start) / batch);
    }
    results[corpus][name] = median(samples);
  }
}
process.stdout.write(JSON.stringify(results) + '\n');
