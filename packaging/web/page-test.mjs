// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the built page (build-web/) in headless Chromium once per language and keeps a
// screenshot of each; scripts/web-test.sh checks the pictures. Fails on a page that does not
// start, stops, or logs an error.
//   node page-test.mjs BUILD_DIR OUT_DIR
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [dir, out] = process.argv.slice(2);
const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
const server = http.createServer((req, res) => {
  const name = path.join(dir, decodeURIComponent(new URL(req.url, "http://x").pathname));
  if (!name.startsWith(path.resolve(dir)) || !fs.existsSync(name) || fs.statSync(name).isDirectory()) {
    res.writeHead(name.endsWith("/") ? 200 : 404);
    res.end(name.endsWith("/") ? fs.readFileSync(path.join(dir, "index.html")) : "");
    return;
  }
  res.writeHead(200, { "Content-Type": types[path.extname(name)] || "application/octet-stream" });
  fs.createReadStream(name).pipe(res);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--enable-unsafe-swiftshader", "--window-size=1366,768"],
});
let failed = false;
try {
  for (const lang of [1, 2, 3]) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1366, height: 768 });
    const problems = [];
    page.on("console", (m) => { if (m.type() === "error") problems.push(m.text()); });
    page.on("pageerror", (e) => problems.push(String(e)));
    const began = Date.now();
    await page.goto(`${base}index.html?lang=${lang}`);
    await page.waitForFunction(() => document.body.dataset.started, { timeout: 30000 });
    const ms = Date.now() - began;
    // The first frames are painted on the browser's next animation frames.
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    await new Promise((r) => setTimeout(r, 500));
    await page.screenshot({ path: path.join(out, `screen-web-${lang}.png`) });
    console.log(`lang=${lang}: started in ${ms} ms${problems.length ? ", errors: " + problems.join(" | ") : ""}`);
    if (problems.length) failed = true;
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
