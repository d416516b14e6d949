// Builds a catalogue and a wizard page with vendigo-html and has independent checkers judge what
// search engines get: the Nu Html Checker on every page, a schema.org validator on the product
// data, xmllint with the sitemap's schema and an RSS 2.0 merchant feed schema, and an HTML
// parser that reads the order fields, whose prices, currency and availability must be the data's.
//
//   node catalogue_search_data_check.mjs VENDIGO_HTML TEMPLATES_DIR
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseDocument, DomUtils } from 'htmlparser2';
import WebAutoExtractor from '@marbec/web-auto-extractor';
import Validator from '@adobe/structured-data-validator';

const [vendigoHtml, templates] = process.argv.slice(2);
const tools = path.dirname(fileURLToPath(import.meta.url));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vendigo-search-data-'));
let failures = 0;
const fail = (what) => {
  failures++;
  console.error(`FAIL: ${what}`);
};
const expectEqual = (actual, expected, what) => {
  if (JSON.stringify(actual) !== JSON.stringify(expected)) {
    fail(`${what}: ${JSON.stringify(actual)} is not ${JSON.stringify(expected)}`);
  }
};

// The shop: prices in euros, names with accents, quotes, "&" and "<".
const settings = path.join(work, 'pelluxfp.ini');
fs.writeFileSync(settings, '[CONFIGS]\nCompany=Café & "Co"\nCurrency=€\n' +
  'CGI_BIN=https://shop.example/cgi-bin/pellux.cgi\nOrderButton=Order!\n');
// A 1x1 PNG.
fs.writeFileSync(path.join(work, 'dot.png'), Buffer.from(
  'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==',
  'base64'));
const csv = [
  'Mode,Description,Price,Descriptions,SKU,Availability,Brand,GTIN,LongText,ProductImage',
  'single,"Crème brûlée ""Deluxe"" & <b>",4.5,,CB-1,in stock,Maison & Fils,4006381333931,' +
    '"A <i>rich</i> dessert & more",dot.png',
  'single,Tea cup </script> <small>,12,,,out of stock,,,,dot.png',
  'single,"Ça ""va"" & \'bien\' <!--",1234.5,,,preorder,,,,dot.png',
  'multiple,Mugs & <cups>,,"Small mug ""S""|3.5\nBig mug & lid|7.25",MUG,,,,,dot.png',
].join('\n');
fs.writeFileSync(path.join(work, 'rows.csv'), csv);
const output = path.join(work, 'out');
execFileSync(vendigoHtml, ['catalogue', '--settings', settings, '--quiet', '--template',
  path.join(templates, 'single_product.zft'), '--input', path.join(work, 'rows.csv'),
  '--output', output, '--base-url', 'https://shop.example/catalogue'], { stdio: 'inherit' });

// The wizard's page of the page command, put in a document as an editor would.
const pageInput = path.join(work, 'page.json');
fs.writeFileSync(pageInput, JSON.stringify({ Description: 'Blue mug &amp; "saucer"',
  Price: '19.9', LongText: 'Hand <i>made</i> &lt;/script&gt;' }));
const fragment = execFileSync(vendigoHtml, ['page', '--settings', settings, '--template',
  path.join(templates, 'product_range.zft'), '--input', pageInput]).toString();
const wizardPage = path.join(work, 'wizard.html');
fs.writeFileSync(wizardPage, '<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8">' +
  `<title>Blue mug</title></head><body>${fragment}</body></html>\n`);

const pages = fs.readdirSync(output).filter((name) => name.endsWith('.html')).sort();
const productPages = pages.filter((name) => !/^index(-\d+)?\.html$/.test(name));
expectEqual(productPages.length, 4, 'product pages written');

// 1. The Nu Html Checker accepts every page.
const vnu = spawnSync('java', ['-jar', path.join(tools, 'node_modules/vnu-jar/build/dist/vnu.jar'),
  '--errors-only', ...pages.map((name) => path.join(output, name)), wizardPage],
{ encoding: 'utf8' });
if (vnu.status !== 0) fail(`the Nu Html Checker found errors:\n${vnu.stdout}${vnu.stderr}`);

// 2. The sitemap and the feed pass their schemas.
const sitemapSchema = path.join(tools, 'node_modules/sitemap/schema/sitemap.xsd');
for (const [file, schema] of [['sitemap.xml', sitemapSchema],
  ['feed.xml', path.join(tools, 'rss2-merchant.xsd')]]) {
  const lint = spawnSync('xmllint', ['--noout', '--schema', schema, path.join(output, file)],
    { encoding: 'utf8' });
  if (lint.status !== 0) fail(`${file} does not pass its schema:\n${lint.stderr}`);
}
const sitemap = fs.readFileSync(path.join(output, 'sitemap.xml'), 'utf8');
const listed = [...sitemap.matchAll(/<loc>([^<]*)<\/loc>/g)].map((m) => m[1]).sort();
expectEqual(listed, pages.map((name) => `https://shop.example/catalogue/${encodeURIComponent(name)}`)
  .sort(), 'the sitemap lists every page');

// The feed's items by their link, read with the same HTML parser in XML mode.
const feed = parseDocument(fs.readFileSync(path.join(output, 'feed.xml'), 'utf8'),
  { xmlMode: true, decodeEntities: true });
const feedItems = DomUtils.getElementsByTagName('item', feed).map((item) => {
  const field = (name) => DomUtils.textContent(DomUtils.getElementsByTagName(name, item)[0] ?? []);
  return { link: field('link'), price: field('g:price'), availability: field('g:availability') };
});

// 3. Each product page's data is a valid Product, and says what its order fields send.
const schemaAvailability = { in_stock: 'https://schema.org/InStock',
  out_of_stock: 'https://schema.org/OutOfStock', preorder: 'https://schema.org/PreOrder' };
const validator = new Validator();
for (const name of [...productPages, '../wizard.html']) {
  const html = fs.readFileSync(path.join(output, name), 'utf8');
  const extracted = new WebAutoExtractor({ addLocation: true, embedSource: ['rdfa', 'microdata'] })
    .parse(html);
  const products = extracted.jsonld?.Product ?? [];
  expectEqual(products.length, 1, `${name}: Product data blocks`);
  if (products.length !== 1) continue;
  // The wizard does not know where its picture will be published, so its data has none.
  const errors = (await validator.validate(extracted)).filter((i) => i.severity === 'ERROR' &&
    !(name === '../wizard.html' && i.issueMessage === 'Required attribute "image" is missing'));
  if (errors.length) fail(`${name}: ${errors.map((e) => e.issueMessage).join('; ')}`);

  // The order fields, read by an HTML parser apart from the data.
  const dom = parseDocument(html);
  const orders = DomUtils.findAll((el) => el.attribs?.name?.toLowerCase() === 'pelluxadd', dom.children)
    .flatMap((el) => (el.name === 'select' ? DomUtils.getElementsByTagName('option', el) : [el]))
    .map((el) => el.attribs.value.split('^'));
  const buttons = DomUtils.findAll((el) => el.name === 'input' &&
    el.attribs.type?.toLowerCase() === 'submit', dom.children);
  const orderable = buttons.some((el) => !('disabled' in el.attribs));

  const product = products[0];
  const offers = [product.offers].flat();
  expectEqual(offers.map((o) => o.price), orders.map((o) => Number(o[1])), `${name}: prices`);
  if (orders.length === 1) expectEqual(product.name, orders[0][0], `${name}: name`);
  for (const offer of offers) {
    expectEqual(offer.priceCurrency, 'EUR', `${name}: currency`);
    expectEqual(offer.availability === 'https://schema.org/OutOfStock', !orderable,
      `${name}: out of stock exactly when the order button is off`);
  }
  if (name === '../wizard.html') continue;
  const url = `https://shop.example/catalogue/${encodeURIComponent(name)}`;
  const items = feedItems.filter((item) => item.link === url);
  expectEqual(items.map((item) => item.price), offers.map((o) => `${o.price.toFixed(2)} EUR`),
    `${name}: feed prices`);
  expectEqual(items.map((item) => schemaAvailability[item.availability]),
    offers.map((o) => o.availability), `${name}: feed availability`);
}

if (failures === 0) fs.rmSync(work, { recursive: true, force: true });
console.log(`${failures === 0 ? 1 : 0} passed, ${failures === 0 ? 0 : 1} failed`);
process.exit(failures === 0 ? 0 : 1);
