// Serves the web page's folder on a local port: node scripts/web-serve.mjs
// DIR [PORT]. Prints the address once listening. Port 0 picks a free port.
// Also imported by the page's tests.
//
// Whatever a client sends and whatever happens to the files meanwhile (a
// rebuild replacing them, a file that cannot be opened, too many clients),
// the server answers or drops that one connection and goes on serving:
// GET and HEAD only (CONNECT too gets 405), paths taken literally (no host,
// no escape that does not decode; URLs over 8 KB get 414, headers over
// node's 16 KB 431), files only where they resolve inside the folder after
// following links, and connections that go quiet for ZEMRA_WEB_IDLE_MS
// (20 s by default) are closed: nothing received from the client and
// nothing of what it was sent taken by it (on Linux, as the kernel counts;
// elsewhere by the writes node sees end, which a slow reader may not make
// within that time). A file with a precompressed copy beside it (.br, .gz)
// goes as that copy to a client that accepts its coding.
import { createServer, maxHeaderSize } from 'node:http';
import { constants, createReadStream, existsSync, promises as fs, realpathSync, statSync } from 'node:fs';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// Enough for a page and its few files from several browsers at once, and
// well under a process's usual 1024 open files (each transfer also holds
// the file it sends).
const maxConnections = 256;

function plain(response, status, text, extra = {}) {
  if (response.headersSent) {
    response.destroy();
    return;
  }
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', 'Content-Length': Buffer.byteLength(text),
                               'Cache-Control': 'no-cache', ...extra });
  response.end(text);
}

// The folder to serve, resolved through links; throws when it cannot be served.
function servedRoot(folder) {
  let root;
  try {
    root = realpathSync(resolve(folder));
  } catch {
    throw new Error(`${folder}: no such folder`);
  }
  if (!statSync(root).isDirectory()) throw new Error(`${folder}: not a folder`);
  if (root === sep) throw new Error('refusing to serve the whole file system (/)');
  return root;
}

// The request's path as a name below the folder, or null when the request
// names none: only a path of the form /..., without its query, its escapes
// decoded, and no NUL (the file system cannot take one).
function requestedName(url) {
  if (typeof url !== 'string' || !url.startsWith('/')) return null;
  const end = url.search(/[?#]/);
  let path;
  try {
    path = decodeURIComponent(end < 0 ? url : url.slice(0, end));
  } catch {
    return null;
  }
  if (path.includes('\0')) return null;
  return path.endsWith('/') ? path + 'index.html' : path;
}

// Whether this system names the files a process has open (/proc/self/fd).
const checksOpenedPaths = existsSync('/proc/self/fd');

// Where the kernel says an open file lies, or null where it cannot say.
async function openedPath(handle) {
  try {
    return await fs.readlink(`/proc/self/fd/${handle.fd}`);
  } catch {
    return null;
  }
}

// Opens the file `name` names inside `root`: the open handle and its size,
// or an HTTP status for why not. The path is resolved through its links
// first and must stay inside the folder; the resolved path is opened without
// following a link in its last part and without waiting (a named pipe).
// A folder on the way may still have been swapped for a link to elsewhere
// between the check and the open, so the file opened must lie inside the
// folder too, as the kernel names it. Only a regular file is served, its
// size taken from the file opened, not from the name (which a rebuild may
// have replaced).
async function openInside(root, name) {
  let real;
  try {
    real = await fs.realpath(join(root, name));
  } catch {
    return { status: 404 };
  }
  if (!real.startsWith(root + sep)) return { status: 404 };
  let handle;
  try {
    handle = await fs.open(real, constants.O_RDONLY | constants.O_NOFOLLOW | constants.O_NONBLOCK);
  } catch (error) {
    if (error.code === 'EMFILE' || error.code === 'ENFILE') return { status: 503 };
    return { status: error.code === 'EACCES' || error.code === 'EPERM' ? 403 : 404 };
  }
  try {
    const info = await handle.stat();
    const opened = checksOpenedPaths ? await openedPath(handle) : real;
    if (info.isFile() && opened !== null && opened.startsWith(root + sep)) {
      return { handle, size: info.size, modified: info.mtimeMs, path: real };
    }
  } catch {
    // Treated as missing, below.
  }
  await handle.close().catch(() => {});
  return { status: 404 };
}

// The precompressed copies the release lays beside a file, by the coding
// they are in, in the order they are preferred at equal weight.
const copies = { br: '.br', gzip: '.gz' };

// The codings of `copies` an Accept-Encoding header accepts, best first: by
// their weight (q), that of * for one not named, and none of weight 0.
function acceptedCodings(header = '') {
  const weights = new Map();
  for (const part of header.toLowerCase().split(',')) {
    const [coding, ...parameters] = part.split(';').map((text) => text.trim());
    const q = parameters.find((parameter) => /^q\s*=/.test(parameter));
    weights.set(coding, q === undefined ? 1 : Number(q.slice(q.indexOf('=') + 1)));
  }
  const weight = (coding) => weights.get(coding) ?? weights.get('*') ?? 0;
  return Object.keys(copies).filter((coding) => weight(coding) > 0).sort((a, b) => weight(b) - weight(a));
}

// The copy of `file` to send in the best coding the request accepts, or
// `file` itself. A copy older than the file is left (a rebuild has changed
// the file since), and so is one that cannot be opened; the file not sent is
// closed. Times count in whole seconds: brotli keeps no more of the time it
// copies from the file.
async function bestCopy(root, file, request) {
  const seconds = (info) => Math.floor(info.modified / 1000);
  for (const coding of acceptedCodings(request.headers['accept-encoding'])) {
    const copy = await openInside(root, file.path.slice(root.length) + copies[coding]);
    if (copy.handle && seconds(copy) >= seconds(file)) {
      await file.handle.close().catch(() => {});
      return { ...copy, coding };
    }
    await copy.handle?.close().catch(() => {});
  }
  return file;
}

const reasons = { 403: 'forbidden\n', 404: 'not found\n', 503: 'busy, try again\n' };
const onlyGetAndHead = 'only GET and HEAD\n';

// Longer URLs get 414 URI Too Long: no file of the page has a name near it.
const maxUrlBytes = 8192;

async function answer(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    plain(response, 405, onlyGetAndHead, { Allow: 'GET, HEAD' });
    return;
  }
  if (request.url.length > maxUrlBytes) {
    plain(response, 414, 'URI too long\n');
    return;
  }
  const name = requestedName(request.url);
  if (name === null) {
    plain(response, 400, 'bad request\n');
    return;
  }
  const original = await openInside(root, name);
  if (!original.handle) {
    plain(response, original.status, reasons[original.status], original.status === 503 ? { 'Retry-After': '1' } : {});
    return;
  }
  const file = await bestCopy(root, original, request);
  if (response.destroyed) {
    await file.handle.close().catch(() => {});
    return;
  }
  response.writeHead(200, {
    'Content-Type': types[extname(original.path)] || 'application/octet-stream',
    'Content-Length': file.size,
    ...(file.coding ? { 'Content-Encoding': file.coding } : {}),
    Vary: 'Accept-Encoding',
    'Cache-Control': 'no-cache',
    'X-Content-Type-Options': 'nosniff',
  });
  if (request.method === 'HEAD' || file.size === 0) {
    response.end();
    await file.handle.close().catch(() => {});
    return;
  }
  // The stream closes the handle when it ends or fails. A file cut short
  // while it is sent (rewritten in place) cannot keep the length promised:
  // the connection is dropped rather than left waiting for the rest.
  const stream = createReadStream(null, { fd: file.handle, start: 0, end: file.size - 1 });
  let sent = 0;
  stream.on('data', (chunk) => { sent += chunk.length; });
  stream.on('error', () => response.destroy());
  stream.on('end', () => { if (sent < file.size) response.destroy(); });
  response.on('close', () => stream.destroy());
  stream.pipe(response);
}

// How many bytes the kernel holds for `socket` that its client has not
// acknowledged (sent but not acknowledged, or not sent yet), from the tables
// of /proc/net, or null where this system cannot say.
async function unacknowledgedBytes(socket) {
  try {
    // The socket's descriptor names its entry in the tables (by inode).
    const link = await fs.readlink(`/proc/self/fd/${socket._handle.fd}`);
    const inode = /^socket:\[(\d+)\]$/.exec(link)[1];
    for (const table of ['/proc/net/tcp', '/proc/net/tcp6']) {
      for (const line of (await fs.readFile(table, 'latin1')).split('\n')) {
        const fields = line.trim().split(/\s+/);
        if (fields[9] === inode) return parseInt(fields[4].split(':')[0], 16);
      }
    }
  } catch {
    // Unknown, below.
  }
  return null;
}

// Whether the client of a connection that node finds quiet still takes what
// it was sent. Node sees a write end only when the kernel has room for all
// of it, and with megabytes buffered for a slow reader that room comes in
// steps of seconds. The kernel's count of bytes not yet acknowledged moves
// at each step the client takes (down as it acknowledges, up as the room it
// made is filled) and stands still when it takes nothing. A socket first
// found quiet gets one more idle time to show that the count moves.
const unacknowledgedBefore = Symbol('unacknowledged bytes at the last look');
async function keepsTaking(socket) {
  const now = await unacknowledgedBytes(socket);
  const before = socket[unacknowledgedBefore];
  socket[unacknowledgedBefore] = now;
  return !socket.destroyed && now > 0 && now !== before;
}

// Follows the lines a connection receives, to tell which part of a request
// was too long for the parser: `line` counts the bytes of the line being
// received, `head` those of the request's earlier lines, and `requestLine`
// holds the length of its first line (null until that line has ended).
// Empty lines before a request are skipped; a request's body is not
// followed (only GET and HEAD are served, which have none). Stops in the
// line that brings a request's head to `limit` bytes.
const receivedLines = Symbol('lines received');
function followLines(lines, chunk, limit = Infinity) {
  for (let start = 0; start < chunk.length;) {
    const end = chunk.indexOf(10, start);
    const piece = (end < 0 ? chunk.length : end) - start;
    lines.line += piece;
    if (end < 0 || lines.head + lines.line >= limit) return;
    const length = lines.line;
    lines.line = 0;
    start = end + 1;
    if (lines.requestLine === null) {
      if (length > 1) lines.requestLine = lines.head = length;
    } else if (length > 1) {
      lines.head += length;
    } else {
      lines.requestLine = null; // the head's end: a request follows
      lines.head = 0;
    }
  }
}

export async function serveFolder(folder, port = 0, host = '127.0.0.1') {
  const root = servedRoot(folder);
  if (!checksOpenedPaths) {
    console.error('zemra: this system cannot name an opened file (no /proc/self/fd): a folder inside swapped for a ' +
                  'link at the wrong moment can serve a file from outside; serve only folders no one else changes');
  }
  const idleMs = Number(process.env.ZEMRA_WEB_IDLE_MS) || 20000;
  const server = createServer({ requestTimeout: 2 * idleMs, headersTimeout: idleMs,
                                connectionsCheckingInterval: Math.min(idleMs, 30000) }, (request, response) => {
    answer(root, request, response).catch(() => response.destroy());
  });
  // A connection with nothing received and nothing taken by its client for
  // idleMs is closed.
  server.timeout = idleMs;
  server.on('timeout', (socket) => {
    keepsTaking(socket).then((taking) => {
      if (taking) socket.setTimeout(idleMs);
      else socket.destroy();
    });
  });
  server.keepAliveTimeout = Math.min(5000, idleMs);
  server.maxConnections = maxConnections;
  // Each connection's lines are followed after node's parser has read them
  // (its 'data' listener comes first).
  server.on('connection', (socket) => {
    const lines = { line: 0, head: 0, requestLine: null };
    socket[receivedLines] = lines;
    socket.on('data', (chunk) => followLines(lines, chunk));
  });
  // A malformed request line or header: 400 (408 for one not finished in
  // time, 414 or 431 for one too long), then the connection closes.
  server.on('clientError', (error, socket) => {
    if (socket.writable && error.code !== 'ECONNRESET') {
      let status = '400 Bad Request';
      if (error.code === 'ERR_HTTP_REQUEST_TIMEOUT') status = '408 Request Timeout';
      if (error.code === 'HPE_HEADER_OVERFLOW') {
        // The chunk being parsed is not followed yet: up to where it overflows.
        const lines = socket[receivedLines];
        followLines(lines, error.rawPacket ?? Buffer.alloc(0), maxHeaderSize);
        status = (lines.requestLine ?? lines.line) > maxUrlBytes ? '414 URI Too Long' : '431 Request Header Fields Too Large';
      }
      socket.end(`HTTP/1.1 ${status}\r\nConnection: close\r\n\r\n`);
    }
    socket.destroy();
  });
  // No proxy here: a CONNECT gets the same answer as any other method but
  // GET and HEAD.
  server.on('connect', (request, socket) => {
    socket.on('error', () => {});
    socket.end(`HTTP/1.1 405 Method Not Allowed\r\nAllow: GET, HEAD\r\nContent-Type: text/plain; charset=utf-8\r\n` +
               `Content-Length: ${onlyGetAndHead.length}\r\nConnection: close\r\n\r\n${onlyGetAndHead}`, () => socket.destroy());
  });
  await new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => {
      server.off('error', fail);
      done();
    });
  });
  // Once listening, an error (such as a connection refused for want of
  // file descriptors) concerns one client, not the server.
  server.on('error', (error) => console.error(`zemra: ${error.message}`));
  return server;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8080'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node scripts/web-serve.mjs DIR [PORT]');
    process.exit(2);
  }
  serveFolder(folder, Number(port)).then(
    (server) => console.log(`zemra: the show plays at http://127.0.0.1:${server.address().port}/ (Ctrl-C stops)`),
    (error) => {
      console.error(`zemra: cannot serve ${folder} on port ${port}: ${error.message}`);
      process.exit(1);
    },
  );
}
