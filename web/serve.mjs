// A small static server for the browser edition: serves one folder on 127.0.0.1, compressed
// where the browser accepts it, with the types a host gives these files.
//   node web/serve.mjs FOLDER [PORT]   (port 0 or none: any free port; the address is printed)
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, normalize, resolve, sep } from "node:path";
import { gzipSync } from "node:zlib";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json",
  ".json": "application/json",
  ".svg": "image/svg+xml",
  ".png": "image/png",
  ".jpg": "image/jpeg",
  ".wav": "audio/wav",
  ".txt": "text/plain; charset=utf-8",
  ".lang": "text/plain; charset=utf-8",
  ".ini": "text/plain; charset=utf-8",
};
const COMPRESSED = new Set([".html", ".css", ".js", ".mjs", ".wasm", ".webmanifest", ".json",
  ".svg", ".txt", ".lang", ".wav"]);

// Serves root; resolves with { server, url, requests } once listening. requests lists every
// path asked for, for the tests.
export function serve(root, port = 0) {
  const base = resolve(root);
  const requests = [];
  // Each file is compressed once (again when it changes), as a host's static files are.
  const compressed = new Map();
  const gzipOnce = async (file, body) => {
    const { mtimeMs, size } = await stat(file);
    const known = compressed.get(file);
    if (known && known.mtimeMs === mtimeMs && known.size === size) {
      return known.body;
    }
    const packed = gzipSync(body, { level: 9 });
    compressed.set(file, { mtimeMs, size, body: packed });
    return packed;
  };
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    requests.push(path);
    let file = normalize(join(base, path.endsWith("/") ? path + "index.html" : path));
    if (file !== base && !file.startsWith(base + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      if ((await stat(file)).isDirectory()) {
        file = join(file, "index.html");
      }
      let body = await readFile(file);
      const type = extname(file);
      const headers = {
        "Content-Type": TYPES[type] ?? "application/octet-stream",
        "Cache-Control": "no-cache",
        "X-Content-Type-Options": "nosniff",
      };
      if (COMPRESSED.has(type) && /\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
        body = await gzipOnce(file, body);
        headers["Content-Encoding"] = "gzip";
        headers.Vary = "Accept-Encoding";
      }
      headers["Content-Length"] = body.length;
      response.writeHead(200, headers);
      response.end(request.method === "HEAD" ? undefined : body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
    }
  });
  return new Promise((done, fail) => {
    server.once("error", fail);
    server.listen(port, "127.0.0.1", () => {
      const url = `http://127.0.0.1:${server.address().port}/`;
      done({ server, url, requests });
    });
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [root = ".", port = "0"] = process.argv.slice(2);
  serve(root, Number(port)).then(({ url }) => {
    console.log(`Quintaro is served at ${url} (Ctrl+C stops it)`);
  }, (error) => {
    console.error(`cannot serve ${root}: ${error.message}`);
    process.exit(1);
  });
}
