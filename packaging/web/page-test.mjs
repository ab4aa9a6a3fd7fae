// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the built page (build-web/) in headless Chromium once per language and keeps a
// screenshot of each; scripts/web-test.sh checks the pictures. Fails on a page that does not
// start, stops, or logs an error.
// With RADIO=ws://HOST:PORT (scripts/radio-bridge.mjs in front of kt520-sim) it then works that
// radio through the page as a user does, with the keyboard, and writes to OUT_DIR: read.png (the
// window after the read), read-backup.bin (the backup image the read kept in the page's files),
// downloads/ (the document saved with Ctrl+S, downloaded as in a browser without a save dialog)
// and read.json (the dialog's last words and the times of the first and last frame sent). It
// then opens OUT_DIR/other.qv19 through the browser's file chooser and writes it to the radio.
// With PULL=PID (the bridge's process) as well, it starts a last read, ends the bridge in its
// middle, and records what the page said and how soon.
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
  // A page that stops answering fails the test in half a minute, not three.
  protocolTimeout: 30000,
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
  if (process.env.RADIO) await readRadio(process.env.RADIO);
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);

// Resolves with the first console line of the page's read/write dialog that matches.
function said(page, lines, pattern, ms) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`the page did not say ${pattern} in ${ms} ms; it said: ` +
      lines.join(" | "))), ms);
    const look = () => {
      const hit = lines.find((l) => pattern.test(l));
      if (hit) { clearTimeout(timer); resolve(hit); } else setTimeout(look, 50);
    };
    look();
  });
}

async function readRadio(radio) {
  const page = await browser.newPage();
  // A small window: headless Chromium without a GPU paints the whole canvas in software at every
  // progress step (about 50 ms at 1366x768), and the replies wait behind it; the read is timed
  // for the program and the line, not for the software painter.
  await page.setViewport({ width: 700, height: 500 });
  const lines = [];
  const problems = [];
  const all = [];
  page.on("console", (m) => {
    all.push(m.text());
    if (/^kt520 (status|warning):/.test(m.text())) lines.push(m.text());
    if (m.type() === "error") problems.push(m.text());
  });
  page.on("pageerror", (e) => problems.push(String(e)));
  // The frames the program sends, with their times, to measure the read from first to last.
  await page.evaluateOnNewDocument(() => {
    // As in a browser without a save dialog: what the program saves is downloaded.
    window.showSaveFilePicker = undefined;
    globalThis.sentFrames = [];
    const send = WebSocket.prototype.send;
    WebSocket.prototype.send = function (bytes) {
      globalThis.sentFrames.push(performance.now());
      console.log("sent " + Array.from(new Uint8Array(bytes)).map((b) => b.toString(16).padStart(2, "0")).join(""));
      return send.call(this, bytes);
    };
  });
  await page.goto(`${base}index.html?lang=2&radio=${encodeURIComponent(radio)}`);
  await page.waitForFunction(() => document.body.dataset.started, { timeout: 30000 });
  await new Promise((r) => setTimeout(r, 500));
  const downloads = path.join(out, "downloads");
  fs.rmSync(downloads, { recursive: true, force: true });
  fs.mkdirSync(downloads);
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  await page.focus("canvas");
  const chord = async (key, shift = false) => {
    await page.keyboard.down("Control");
    if (shift) await page.keyboard.down("Shift");
    await page.keyboard.press(key);
    if (shift) await page.keyboard.up("Shift");
    await page.keyboard.up("Control");
  };
  // Ctrl+R: "Program" > "Read" (Ctrl+Shift+W: "Write"); the dialog's start button has the
  // keyboard.
  const startTransfer = async (shift, key) => {
    lines.length = 0;
    await chord(key, shift);
    await said(page, lines, /^kt520 status:/, 10000);
    // As a user would: the dialog is seen before its button is pressed.
    await new Promise((r) => setTimeout(r, 500));
    lines.length = 0;
    await page.keyboard.press("Enter");
  };
  const startRead = () => startTransfer(false, "KeyR");
  const began = Date.now();
  await startRead();
  const done = await said(page, lines, /^kt520 (status: Done|warning:)/, 40000).catch(async (e) => {
    console.error(`console: ${all.filter((l) => l.startsWith("sent")).length} sent; ${[...new Set(all)].slice(-6).join(" | ")}`);
    throw e;
  });
  const whole = Date.now() - began;
  await new Promise((r) => setTimeout(r, 300));
  await page.screenshot({ path: path.join(out, "read-dialog.png") });
  const frames = await page.evaluate(() => globalThis.sentFrames);
  // The backup every read keeps, from the page's files.
  const backup = await page.evaluate(() => {
    const FS = window.kt520Module.FS;
    const found = [];
    const walk = (dir) => {
      for (const name of FS.readdir(dir)) {
        if (name === "." || name === ".." || (dir === "/" && ["dev", "proc", "tmp"].includes(name))) continue;
        const full = (dir === "/" ? "" : dir) + "/" + name;
        if (FS.isDir(FS.stat(full).mode)) walk(full);
        else if (/\/kt520\/backups\/.*\.bin$/.test(full)) found.push(full);
      }
    };
    walk("/");
    return found.map((f) => [f, Array.from(FS.readFile(f))]);
  });
  if (backup.length === 1) fs.writeFileSync(path.join(out, "read-backup.bin"), Buffer.from(backup[0][1]));
  // Close the dialog (Escape) to see the table behind it.
  await page.keyboard.press("Escape");
  await new Promise((r) => setTimeout(r, 500));
  await page.screenshot({ path: path.join(out, "read.png") });
  const result = { said: done, wholeMs: whole, frames: frames.length,
                   firstToLastMs: frames.length ? Math.round(frames.at(-1) - frames[0]) : 0,
                   backups: backup.map((b) => b[0]), problems };
  // Ctrl+S: a document without a file asks for one; here it is downloaded.
  const pageSaid = (pattern, ms) => said(page, all, pattern, ms);
  await chord("KeyS");
  result.saved = await pageSaid(/^kt520 downloaded:/, 10000);
  // Ctrl+P: "Print" is a PDF in the page, downloaded too.
  await chord("KeyP");
  result.printed = await pageSaid(/^kt520 downloaded: .*\.pdf$/, 10000);
  for (let i = 0; i < 100 && !["KT-520.qv19", "KT-520.pdf"].every((f) => fs.existsSync(path.join(downloads, f))); ++i)
    await new Promise((r) => setTimeout(r, 100));
  // The program's settings, kept in the browser's storage as the page goes.
  result.settingsKept = await page.evaluate(() => /\bM_type=/.test(localStorage.getItem("kt520/sysini.ini") || ""));
  // Ctrl+O: the browser's file chooser gives the other document.
  const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 10000 }), chord("KeyO")]);
  await chooser.accept([path.join(out, "other.qv19")]);
  await new Promise((r) => setTimeout(r, 1000));
  await page.screenshot({ path: path.join(out, "opened.png") });
  await startTransfer(true, "KeyW");
  result.written = await said(page, lines, /^kt520 (status: Done|warning:)/, 60000).catch(async (e) => {
    await page.screenshot({ path: path.join(out, "write-failed.png") });
    throw e;
  });
  await page.keyboard.press("Escape");
  await new Promise((r) => setTimeout(r, 300));
  if (process.env.PULL) {
    // A second read, and the bridge pulled in its middle: the page must say so and not hang.
    lines.length = 0;
    await page.focus("canvas");
    await startRead();
    await said(page, lines, /^kt520 status:/, 10000);
    await new Promise((r) => setTimeout(r, 1500));
    process.kill(Number(process.env.PULL), "SIGTERM");
    const pulledAt = Date.now();
    result.pulled = await said(page, lines, /^kt520 warning:/, 30000);
    result.pulledMs = Date.now() - pulledAt;
    await new Promise((r) => setTimeout(r, 300));
    await page.screenshot({ path: path.join(out, "read-pulled.png") });
    // The page still answers.
    result.answers = await page.evaluate(() => 1 + 1) === 2;
  }
  fs.writeFileSync(path.join(out, "read.json"), JSON.stringify(result, null, 1) + "\n");
  console.log(`read through the page: ${done} (${whole} ms whole, ${result.firstToLastMs} ms first to last frame)`);
  if (problems.length) failed = true;
  await page.close();
}
