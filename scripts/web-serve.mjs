// Serves the web page's folder on a local port: node scripts/web-serve.mjs
// DIR [PORT]. Prints the address once listening. Port 0 picks a free port.
// Also imported by the page's test.
import { createServer } from 'node:http';
import { createReadStream, statSync } from 'node:fs';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

export function serveFolder(folder, port = 0, host = '127.0.0.1') {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    let size = -1;
    if (file.startsWith(root + sep)) {
      try {
        const info = statSync(file);
        if (info.isFile()) size = info.size;
      } catch {
        size = -1;
      }
    }
    if (size < 0) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found\n');
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[extname(file)] || 'application/octet-stream',
      'Content-Length': size,
      'Cache-Control': 'no-cache',
    });
    if (request.method === 'HEAD') response.end();
    else createReadStream(file).pipe(response);
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => done(server));
  });
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
      console.error(`zemra: cannot serve on port ${port}: ${error.message}`);
      process.exit(1);
    },
  );
}
