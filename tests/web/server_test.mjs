// The page's web server against what its clients and its folder can do to
// it: each case starts the server (scripts/web-serve.mjs, as a program, on
// 127.0.0.1 with a short idle time) on a folder of its own, does what the
// case does, and checks the answer and that the server still serves the page
// afterwards. Bounded: about a thousand requests and half a minute.
//
//   node tests/web/server_test.mjs [SERVER_SCRIPT]
//
// Run as root, the server runs as nobody so that a file without read
// permission is one it cannot open. Exits 0 when every check passed.
import { spawn, spawnSync } from 'node:child_process';
import { chmodSync, mkdirSync, mkdtempSync, rmSync, statSync, symlinkSync, unlinkSync, utimesSync, writeFileSync } from 'node:fs';
import { request as httpRequest } from 'node:http';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliCompressSync, brotliDecompressSync, gunzipSync, gzipSync } from 'node:zlib';

const here = dirname(fileURLToPath(import.meta.url));
const script = resolve(process.argv[2] || join(here, '..', '..', 'scripts', 'web-serve.mjs'));
const idleMs = 1500;
const nobody = process.getuid && process.getuid() === 0 ? { uid: 65534, gid: 65534 } : {};
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

const failures = [];
function check(condition, what) {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}`);
  if (!condition) failures.push(what);
}

// --- The folder ------------------------------------------------------------

const work = mkdtempSync(join(tmpdir(), 'zemra-serve-'));
chmodSync(work, 0o755);
const site = join(work, 'site');
const page = '<!doctype html><title>Zemra</title>\n';
const bigBytes = 48 * 1024 * 1024; // more than a loopback connection buffers
mkdirSync(join(site, 'sub'), { recursive: true });
writeFileSync(join(site, 'index.html'), page);
writeFileSync(join(site, 'sub', 'index.html'), 'sub\n');
writeFileSync(join(site, 'big.bin'), Buffer.alloc(bigBytes, 7));
const slowBytes = 7000000; // more than the kernel buffers while a slow reader takes it
writeFileSync(join(site, 'slow.bin'), Buffer.alloc(slowBytes, 3));
writeFileSync(join(site, 'locked.html'), 'secret\n', { mode: 0o000 });
chmodSync(join(site, 'locked.html'), 0o000);
symlinkSync('/etc/passwd', join(site, 'passwd'));
symlinkSync('/etc', join(site, 'etc'));
symlinkSync('index.html', join(site, 'same.html'));
// A module with its precompressed copies, and a script whose copy is older.
const wasm = Buffer.from('\0asm'.repeat(20000));
writeFileSync(join(site, 'show.wasm'), wasm);
writeFileSync(join(site, 'show.wasm.br'), brotliCompressSync(wasm));
const wasmSeconds = Math.floor(statSync(join(site, 'show.wasm')).mtimeMs / 1000);
utimesSync(join(site, 'show.wasm.br'), wasmSeconds, wasmSeconds); // as brotli copies the time
writeFileSync(join(site, 'show.wasm.gz'), gzipSync(wasm));
writeFileSync(join(site, 'old.js'), 'new();\n');
writeFileSync(join(site, 'old.js.gz'), gzipSync('old();\n'));
utimesSync(join(site, 'old.js.gz'), new Date(2000, 0), new Date(2000, 0));
// A folder inside and a link to one outside, which the race case swaps.
const inside = 'inside\n';
const outside = 'outside the folder\n';
mkdirSync(join(site, 'swapped'));
writeFileSync(join(site, 'swapped', 'secret.txt'), inside);
mkdirSync(join(work, 'outside'));
writeFileSync(join(work, 'outside', 'secret.txt'), outside);
symlinkSync(join(work, 'outside'), join(site, 'swapped.link'));
spawnSync('mkfifo', [join(site, 'pipe.html')]);

// --- The server ------------------------------------------------------------

// Starts the server on `folder` (through `shell` when given, such as a lower
// limit of open files); resolves to { port, child, output } once it says its
// address, or { child, exited, output } when it ends or says nothing within
// the time.
function startServer(folder, { shell = null, waitMs = 5000, idle = idleMs } = {}) {
  const args = [script, folder, '0'];
  const env = { ...process.env, ZEMRA_WEB_IDLE_MS: String(idle) };
  const child = shell
    ? spawn('bash', ['-c', `${shell} && exec "$0" "$@"`, process.execPath, ...args], { ...nobody, stdio: 'pipe', env })
    : spawn(process.execPath, args, { ...nobody, stdio: 'pipe', env });
  const state = { child, output: '', exited: null };
  child.stdout.on('data', (data) => { state.output += data; });
  child.stderr.on('data', (data) => { state.output += data; });
  return new Promise((done) => {
    const timer = setTimeout(() => done(state), waitMs);
    child.on('exit', (code, signal) => {
      state.exited = signal || code;
      clearTimeout(timer);
      done(state);
    });
    child.stdout.on('data', () => {
      const match = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(state.output);
      if (match && !state.port) {
        state.port = Number(match[1]);
        clearTimeout(timer);
        done(state);
      }
    });
  });
}

function stopServer(server) {
  if (server.exited === null) server.child.kill('SIGKILL');
}

// Sends `text` as it is (or its parts 20 ms apart) and reads the answer until the server closes the
// connection (or `timeoutMs` passes): { status, headers, body } with the
// body's byte count and the body itself (`bytes`), or status 0 when nothing
// came back.
function raw(port, text, timeoutMs = 4000) {
  return new Promise((done) => {
    const socket = connect(port, '127.0.0.1');
    const chunks = [];
    const finish = () => {
      clearTimeout(timer);
      socket.destroy();
      const data = Buffer.concat(chunks);
      const split = data.indexOf('\r\n\r\n');
      const head = data.subarray(0, split < 0 ? data.length : split).toString('latin1');
      const match = /^HTTP\/1\.[01] (\d{3})/.exec(head);
      const bytes = split < 0 ? Buffer.alloc(0) : data.subarray(split + 4);
      done({ status: match ? Number(match[1]) : 0, headers: head.toLowerCase(), body: bytes.length, bytes });
    };
    const timer = setTimeout(finish, timeoutMs);
    socket.on('data', (data) => chunks.push(data));
    socket.on('error', () => {});
    socket.on('close', finish);
    (async () => {
      for (const part of [text].flat()) {
        socket.write(part);
        await sleep(20);
      }
    })();
  });
}

const get = (port, path, method = 'GET') =>
  raw(port, `${method} ${path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);

// The page is still served: / answers 200 with the page.
async function serves(port) {
  const answer = await get(port, '/');
  return answer.status === 200 && answer.body === page.length;
}

// --- The cases -------------------------------------------------------------

// Each case gets a fresh server and resolves to what it wants said (an
// empty string when its own checks are all it has).
const cases = [
  ['a malformed percent-escape (/%E0%A4%A) gets 400', async (port) => (await get(port, '/%E0%A4%A')).status === 400],
  ['a NUL in the path (/index.html%00) gets 400', async (port) => (await get(port, '/index.html%00')).status === 400],
  ['a target that is not a path (*) gets 400', async (port) => (await get(port, '*')).status === 400],
  ['a malformed request line gets 400', async (port) => (await raw(port, 'GET /\x01 x\r\n\r\n')).status === 400],
  ['//x:abc/ (no URL) is a name not in the folder: 404', async (port) => (await get(port, '//x:abc/')).status === 404],
  ['//[ (no URL) is a name not in the folder: 404', async (port) => (await get(port, '//[')).status === 404],
  ['//anyhost/index.html is not /index.html: 404', async (port) => (await get(port, '//anyhost/index.html')).status === 404],
  ['/../ and /%2e%2e/ stay in the folder: 404', async (port) =>
    (await get(port, '/../../etc/passwd')).status === 404 &&
    (await get(port, '/%2e%2e/%2e%2e/etc/passwd')).status === 404],
  ['a link to a file outside the folder gets 404', async (port) => (await get(port, '/passwd')).status === 404],
  ['a link to a folder outside gets 404 for what is under it', async (port) =>
    (await get(port, '/etc/passwd')).status === 404 && (await get(port, '/etc/')).status === 404],
  ['a link inside the folder to a file inside is served', async (port) => {
    const answer = await get(port, '/same.html');
    return answer.status === 200 && answer.body === page.length;
  }],
  ['a folder with a slash serves its index.html', async (port) => (await get(port, '/sub/')).status === 200],
  ['POST, PUT, DELETE and OPTIONS get 405 with Allow: GET, HEAD', async (port) => {
    for (const method of ['POST', 'PUT', 'DELETE', 'OPTIONS']) {
      const answer = await raw(port, `${method} /index.html HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n` +
                                     'Content-Length: 5\r\n\r\nhello');
      if (answer.status !== 405 || !answer.headers.includes('allow: get, head')) return false;
    }
    return true;
  }],
  ['CONNECT gets 405; a long URL 414, long headers 431, also when they come in parts', async (port) => {
    const long = 'a'.repeat(100000);
    const request = (path, header = '') => `GET ${path} HTTP/1.1\r\nHost: 127.0.0.1\r\n${header}Connection: close\r\n\r\n`;
    const connect = await raw(port, 'CONNECT example.com:443 HTTP/1.1\r\nHost: example.com:443\r\n\r\n');
    const statuses = [
      (await raw(port, request(`/${long}`))).status,
      (await raw(port, request(`/${long.slice(0, 9000)}`))).status,
      (await raw(port, ['GET /a', long.slice(0, 20000), long + ' HTTP/1.1\r\n\r\n'])).status,
      (await raw(port, request('/', `X-Long: ${long}\r\n`))).status,
      (await raw(port, ['GET / HTTP/1.1\r\nX-Long: a', long.slice(0, 20000), long + '\r\n\r\n'])).status,
    ];
    // Behind a short request in the same packet: its own line decides.
    statuses.push((await raw(port, `GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n${request(`/${long}`)}`)).status);
    const said = `CONNECT ${connect.status}, then ${statuses.join(', ')}`;
    if (said !== 'CONNECT 405, then 414, 414, 414, 431, 431, 414' || !connect.headers.includes('allow: get, head')) {
      console.log(`     ${said}`);
      return false;
    }
    return '';
  }],
  ['a precompressed copy goes to a client that accepts it; HEAD alike', async (port) => {
    // The coding each Accept-Encoding gets, checked by its headers and, for
    // GET, by the body decoded.
    const decoders = { br: brotliDecompressSync, gzip: gunzipSync, none: (data) => data };
    const sent = async (path, accepted, method = 'GET') => {
      const headers = accepted === undefined ? '' : `Accept-Encoding: ${accepted}\r\n`;
      const answer = await raw(port, `${method} ${path} HTTP/1.1\r\nHost: 127.0.0.1\r\n${headers}Connection: close\r\n\r\n`);
      const coding = /content-encoding: (.*)/.exec(answer.headers)?.[1] ?? 'none';
      const length = Number(/content-length: (\d+)/.exec(answer.headers)?.[1]);
      const whole = method === 'HEAD' ? answer.body === 0 : length === answer.body;
      return { coding, answer, length, ok: answer.status === 200 && answer.headers.includes('vary: accept-encoding') && whole };
    };
    const wants = [['gzip, deflate, br', 'br'], ['gzip', 'gzip'], ['br;q=0, gzip;q=0.5', 'gzip'], ['gzip, br;q=0.8', 'gzip'],
                   ['*', 'br'], ['identity', 'none'], [undefined, 'none'], ['br;q=0, gzip;q=0', 'none']];
    const wrong = [];
    for (const [accepted, coding] of wants) {
      const got = await sent('/show.wasm', accepted);
      const body = got.ok && got.coding in decoders ? decoders[got.coding](got.answer.bytes) : null;
      if (!got.ok || got.coding !== coding || !got.answer.headers.includes('content-type: application/wasm') ||
          !body?.equals(wasm)) wrong.push(`${accepted}: ${got.coding}`);
    }
    const head = await sent('/show.wasm', 'br', 'HEAD');
    if (!head.ok || head.coding !== 'br' || head.length !== brotliCompressSync(wasm).length) wrong.push('HEAD');
    const direct = await sent('/show.wasm.gz', 'gzip');
    if (!direct.ok || direct.coding !== 'none' || !gunzipSync(direct.answer.bytes).equals(wasm)) wrong.push('.gz itself');
    const old = await sent('/old.js', 'gzip');
    if (!old.ok || old.coding !== 'none' || old.answer.bytes.toString() !== 'new();\n') wrong.push('an older copy');
    if (wrong.length) console.log(`     wrong: ${wrong.join('; ')}`);
    return wrong.length === 0;
  }],
  ['HEAD gets the length and no body', async (port) => {
    const answer = await get(port, '/index.html', 'HEAD');
    return answer.status === 200 && answer.headers.includes(`content-length: ${page.length}`) && answer.body === 0;
  }],
  ['a file without read permission is refused (403) ' + (nobody.uid ? '(server as nobody)' : ''), async (port) =>
    (await get(port, '/locked.html')).status === 403],
  ['a named pipe is no file: 404 at once', async (port) => (await get(port, '/pipe.html')).status === 404],
  ['a file deleted and written again while served (300 requests)', async (port) => {
    // As a rebuild does: the file is removed and written again, or
    // rewritten in place, while requests for it come in.
    const file = join(site, 'churn.bin');
    let stop = false;
    let turn = 0;
    const churn = (async () => {
      while (!stop) {
        try {
          if (turn % 2 === 0) unlinkSync(file);
        } catch {
          // not there yet
        }
        writeFileSync(file, Buffer.alloc(1 + ((turn * 37) % 200) * 1024, turn));
        turn += 1;
        await sleep(1);
      }
    })();
    let whole = 0;
    let cut = 0;
    for (let round = 0; round < 30; round++) {
      const answers = await Promise.all(Array.from({ length: 10 }, () => get(port, '/churn.bin')));
      for (const answer of answers) {
        const length = /content-length: (\d+)/.exec(answer.headers);
        if (answer.status === 200 && length && Number(length[1]) === answer.body) whole += 1;
        else if (answer.status === 200) cut += 1;
      }
    }
    stop = true;
    await churn;
    return `${whole} whole, ${cut} dropped part-way (cut short by a rewrite), the rest 404`;
  }],
  ['a folder swapped with a link to one outside while requested: never the outside file (500 requests)', async (port) => {
    // A separate process renames the folder and the link into each other's
    // place as fast as it can, for at most 20 s.
    const swapper = spawn(process.execPath, ['-e', `
      const fs = require('fs');
      const [folder, link, spare] = process.argv.slice(1);
      for (const end = Date.now() + 20000; Date.now() < end;) {
        fs.renameSync(folder, spare); fs.renameSync(link, folder); fs.renameSync(folder, link); fs.renameSync(spare, folder);
      }`, join(site, 'swapped'), join(site, 'swapped.link'), join(site, 'swapped.spare')], { stdio: 'ignore' });
    const counts = { inside: 0, outside: 0, other: 0 };
    try {
      for (let round = 0; round < 50; round++) {
        const answers = await Promise.all(Array.from({ length: 10 }, () => get(port, '/swapped/secret.txt')));
        for (const answer of answers) {
          const body = answer.bytes.toString();
          counts[answer.status !== 200 ? 'other' : body === inside ? 'inside' : body === outside ? 'outside' : 'other'] += 1;
        }
      }
    } finally {
      swapper.kill('SIGKILL');
      await new Promise((done) => (swapper.exitCode !== null || swapper.signalCode ? done() : swapper.on('exit', done)));
    }
    const said = `${counts.inside} inside, ${counts.outside} outside, ${counts.other} refused`;
    if (counts.outside > 0) console.log(`     ${said}`);
    return counts.outside === 0 && said;
  }],
  ['clients that never read, beyond the open-file limit (ulimit -n 48, 80 clients)', async (port) => {
    const sockets = Array.from({ length: 80 }, () => {
      const socket = connect(port, '127.0.0.1');
      socket.on('error', () => {});
      socket.write('GET /big.bin HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n');
      socket.pause();
      return socket;
    });
    await sleep(1000);
    for (const socket of sockets) socket.destroy();
    await sleep(300);
    return '';
  }, { shell: 'ulimit -n 48' }],
  ['a slow reader gets the whole file; one that stops reading is dropped (idle time 300 ms)', async (port) => {
    // Both take 32 KB every 20 ms: far slower than the server sends, so the
    // kernel's buffers stay full and wake the server only after seconds,
    // yet each step the client takes is under the idle time. The second
    // stops after 1 MiB and reads on, all at once, when the first is done.
    const reader = (path, stopAt) => {
      const socket = connect(port, '127.0.0.1');
      const state = { socket, received: 0, closed: false };
      socket.on('error', () => {});
      socket.on('close', () => { state.closed = true; });
      socket.write(`GET ${path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);
      const timer = setInterval(() => {
        for (let taken = 0, chunk; taken < 32768 && state.received < stopAt &&
             (chunk = socket.read(Math.min(32768 - taken, socket.readableLength)));) {
          taken += chunk.length;
          state.received += chunk.length;
        }
      }, 20);
      socket.on('close', () => clearInterval(timer));
      return state;
    };
    const slow = reader('/slow.bin', Infinity);
    const stopped = reader('/big.bin', 1048576);
    for (let i = 0; i < 300 && !slow.closed; i++) await sleep(50);
    stopped.socket.on('data', (data) => { stopped.received += data.length; });
    for (let i = 0; i < 40 && !stopped.closed; i++) await sleep(100);
    slow.socket.destroy();
    stopped.socket.destroy();
    const mib = (bytes) => (bytes / 1048576).toFixed(1);
    const said = `the slow one got ${mib(slow.received)} of ${mib(slowBytes)} MiB, the stopped one ` +
                 `${stopped.closed ? 'was closed after' : 'got'} ${mib(stopped.received)} of 48 MiB`;
    if (slow.received < slowBytes || !stopped.closed || stopped.received >= bigBytes) console.log(`     ${said}`);
    return slow.received >= slowBytes && stopped.closed && stopped.received < bigBytes && said;
  }, { idle: 300 }],
  ['a client that sends half a request and waits is dropped', async (port) => {
    const socket = connect(port, '127.0.0.1');
    let closed = false;
    socket.on('error', () => {});
    socket.on('close', () => { closed = true; });
    socket.resume(); // reading, to see the server close
    socket.write('GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n');
    const started = Date.now();
    for (let i = 0; i < 100 && !closed; i++) await sleep(100);
    socket.destroy();
    return closed && `closed after ${((Date.now() - started) / 1000).toFixed(1)} s`;
  }],
];

async function runCase(name, run, options = {}) {
  const server = await startServer(site, options);
  if (!server.port) {
    check(false, `${name}: the server did not start (${server.output.trim()})`);
    stopServer(server);
    return;
  }
  let result;
  try {
    result = await run(server.port);
  } catch (error) {
    result = false;
    console.log(`     ${error.stack || error}`);
  }
  const still = server.exited === null && (await serves(server.port));
  const said = typeof result === 'string' && result !== '' ? ` (${result})` : '';
  check(result !== false && still,
    `${name}${said}${still ? '' : `; the server ${server.exited !== null ? `ended (${server.exited})` : 'stopped serving'}`}`);
  stopServer(server);
}

// A folder it must not serve: the server says so and ends, status 1.
async function refuses(folder, what) {
  const server = await startServer(folder, { waitMs: 3000 });
  stopServer(server);
  check(!server.port && server.exited === 1, `the server refuses ${what}` +
    (server.port ? ' (it served it)' : ` (${server.output.trim().split('\n').pop()})`));
}

try {
  for (const [name, run, options] of cases) await runCase(name, run, options);
  await refuses('/', 'to serve /');
  await refuses(join(work, 'missing'), 'a folder that does not exist');
  await refuses(join(site, 'index.html'), 'a file instead of a folder');
} finally {
  rmSync(work, { recursive: true, force: true });
}
console.log(failures.length === 0 ? 'web server: all checks passed' : `web server: ${failures.length} checks failed`);
process.exit(failures.length === 0 ? 0 : 1);
