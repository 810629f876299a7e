-- bench n: 3000000
n = tonumber(os.getenv("BENCH_N")) or 3000000
s = 0
for i = 0, n - 1 do
  s = (s + i * 7) % 1000003
end
print(s)
