// The page as static files in dist/; the package's module uses top-level await.
import { defineConfig } from 'vite';

export default defineConfig({
  base: './',
  build: { target: 'esnext', chunkSizeWarningLimit: 4096 },
  server: { fs: { allow: ['..'] } },
});
