// The page's performance beside the native build's, in one run (make
// bench-web): FindAllWords on the native benchmark's 1,000 boards, a cold
// load to an enabled Start Game, and the gzip-compressed size of the page's
// own files (every edition's dictionary apart).
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync, statSync } from 'node:fs';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import { control, ids, launch, openGame, ROOT, serve } from './browser.mjs';

const SITE = path.join(ROOT, 'build/web/site');
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function nativeFindAllWords() {
  const output = execFileSync(path.join(ROOT, 'build/native/bin/vrel-bench'), [
    '--benchmark_filter=^BM_FindAllWords$', '--benchmark_repetitions=5',
    '--benchmark_report_aggregates_only=true', '--benchmark_format=json'], { encoding: 'utf8' });
  const result = JSON.parse(output).benchmarks.find(b => b.aggregate_name === 'median');
  return result.cpu_time;  // µs: the benchmark's unit
}

async function pageFindAllWords(browser, url) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(`${url}?seed=1`);
  await page.waitForSelector('body[data-ready]');
  const runs = await page.evaluate(async () => {
    const module = await createVrelModule({ page: {} });
    const response = await fetch('data/en/VREL.DAT.gz');
    const stream = response.body.pipeThrough(new DecompressionStream('gzip'));
    module.FS.mkdir('/bench');
    module.FS.writeFile('/bench/VREL.DAT', new Uint8Array(await new Response(stream).arrayBuffer()));
    const times = [];
    for (let i = 0; i < 5; i++) times.push(module.ccall('vrel_bench_find_all_words', 'number', ['string', 'number', 'number'], ['/bench/', 1000, 20]));
    return times;
  });
  await context.close();
  return median(runs);
}

// The marks of a load, in ms from its start: the module instantiated, the
// stored files read (and at the first visit the shipped list written), and
// Start Game enabled.
const MARKS = ['vrel-module', 'vrel-storage', 'vrel-ready'];
const marksOf = async page => {
  const [module, storage, ready] = await page.evaluate(
    names => names.map(name => performance.getEntriesByName(name)[0].startTime), MARKS);
  return [module, storage - module, ready - storage, ready];
};

// Five cold loads (a new browser profile each) and the reload after each;
// the median of each phase.
async function loads(browser, url) {
  const cold = [], reload = [];
  for (let i = 0; i < 5; i++) {
    const context = await browser.newContext();
    const page = await openGame(context, url, '?seed=1');
    if (!await control(page, ids.IDC_START_GAME).isEnabled()) throw new Error('Start Game is not enabled');
    cold.push(await marksOf(page));
    // A reload comes once the service worker keeps the site, as a later
    // visit does.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    await page.waitForSelector('body[data-ready]');
    reload.push(await marksOf(page));
    await context.close();
  }
  const medians = runs => runs[0].map((_, k) => median(runs.map(marks => marks[k])));
  return { cold: medians(cold), reload: medians(reload) };
}
// The phases' medians: to the module, the storage, then the game's start.
const phases = ([module, storage, start]) =>
  `module ${module.toFixed(0)}, storage ${storage.toFixed(0)}, start ${start.toFixed(0)}`;

function ownFiles(folder = SITE) {
  let total = 0;
  const files = [];
  for (const name of readdirSync(folder)) {
    const file = path.join(folder, name);
    const relative = path.relative(SITE, file);
    if (relative === 'data') continue;
    if (statSync(file).isDirectory()) {
      const inner = ownFiles(file);
      total += inner.total;
      files.push(...inner.files);
    } else {
      const size = gzipSync(readFileSync(file), { level: 9 }).length;
      total += size;
      files.push([relative, size]);
    }
  }
  return { total, files };
}

const server = await serve();
const browser = await launch();
try {
  const native = nativeFindAllWords();
  const web = await pageFindAllWords(browser, server.url);
  const load = await loads(browser, server.url);
  const { total, files } = ownFiles();
  console.log(`FindAllWords, 1,000 boards: page ${web.toFixed(1)} us, native ${native.toFixed(1)} us per board: ${(web / native).toFixed(2)} times (at most 2)`);
  console.log(`Cold load to an enabled Start Game: ${load.cold[3].toFixed(0)} ms, median of 5 (at most 500, goal 300; ${phases(load.cold)})`);
  console.log(`Reload to an enabled Start Game: ${load.reload[3].toFixed(0)} ms, median of 5 (at most 250; ${phases(load.reload)})`);
  console.log(`The page's own files, gzip -9: ${(total / 1024).toFixed(1)} KiB (at most 250 KB)`);
  for (const [name, size] of files.sort((a, b) => b[1] - a[1])) console.log(`  ${name}: ${size} bytes`);
} finally {
  await browser.close();
  server.stop();
}
